// Documents and their windows. Nothing a user made is lost without being asked: closing a
// window or File → New with changes since the last save asks "Save", "Discard" or "Cancel"; a
// failed save says why, keeps the previous file and leaves the window unsaved; a refused Open
// leaves no window behind. Also the material conflict dialog and what each answer does to the
// cells, Save As, and an opened document's window and warnings.

#include "UiTestSupport.h"

#include "Core/Operations/Document/DocumentFiles.h"
#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/MaterialConflict.h"
#include "UI/Materials/ManageMaterialsDialog.h"
#include "UI/Materials/MaterialTableViewItem.h"
#include "UI/Observers/DocumentOpenedObserver.h"
#include "UI/Observers/MaterialConflictObserver.h"
#include "UI/Operations/MaterialConflictDialog.h"
#include "common/Cells.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <csignal>
#include <sys/resource.h>

using Model::Materials::Material;
using Model::Materials::MaterialFactory;
using Model::Persistence::MaterialConflict;
using Ui::Operations::MaterialConflictDialog;
using namespace UiTest;

namespace {

constexpr const char *kQuestion = "Voxfab / The document has been modified. / Do you want to save your changes?";
constexpr const char *kWriteError = "Unable to save document to the specified file.\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int mainWindowCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<Ui::MainWindow *>(widget) ? 1 : 0;
    return count;
}

void addVolume(Core::ApplicationModel &model, uint32_t cells)
{
    model.scene().addObject(TestSupport::flatVolume(cells, 1, 1, 1, 1));
}

// A new window whose document, named `path`, holds a volume made since the last save.
Ui::MainWindow *windowWithChanges(const QString &path)
{
    auto *window = new Ui::MainWindow();
    auto &model = window->presenter().applicationModel();
    addVolume(model, 2);
    model.scene().setDocumentName(path);
    model.markModified();
    return window;
}

// Closes the window; false when it refused, or asked anything first (the question is then
// cancelled, and the poll left over from here answers nothing later).
bool closesWithoutAsking(QWidget *window)
{
    auto listening = std::make_shared<bool>(true);
    auto asked = std::make_shared<bool>(false);
    TestSupport::answerNextModal([listening, asked](QWidget *modal) {
        if (!*listening)
            return;
        *asked = true;
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            box->button(QMessageBox::Cancel)->click();
    });
    const bool closed = window->close();
    *listening = false;
    return closed && !*asked;
}

// Files this process writes stop growing at `bytes` while the object lives, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN); // fail the write instead of ending the process
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};
constexpr rlim_t kSmallFileLimit = 64; // bytes, less than any document

const char *const kAnswers[] = {"rbtnUseExisting", "rbtnReplaceExisting", "rbtnUseAnother", "rbtnAddAsNew"};

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A document whose material 3 is "Si" (the catalogue's 3 is "Thermal Si02"), with cells 3 0 3.
QByteArray conflictingDocument()
{
    return "<Document><Header version=\"1\"/><Material version=\"1\" name=\"Si\" material-id=\"3\" "
           "density=\"2329\" poisson-ratio=\"0.28\" young-modulus=\"1.88e+11\" color=\"#FF00FF00\"/>"
           "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"3\"><State>3 0 3 </State>"
           "<Position pos-x=\"0\" pos-y=\"0\" pos-z=\"0\"/></Object></Document>";
}

std::vector<uint32_t> cellsOf(Core::ApplicationModel &model)
{
    auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(model.scene().objects().value(0));
    return volume ? TestSupport::materialsOf(*volume) : std::vector<uint32_t>();
}

// Opens `path` as File → Open does: the new window, or none when the document was refused.
Ui::MainWindow *openDocument(const QString &path)
{
    Core::Operations::OpenDocumentOperation::setLastDocumentPath(path);
    Ui::Observers::DocumentOpenedObserver observer;
    observer.update();
    return observer.openedWindow();
}

struct DocumentWindows : ::testing::Test {
    void TearDown() override
    {
        MaterialConflict::instance().setObserver(nullptr);
        MaterialFactory::instance()->createDefaultMaterials();
    }

    // Reads the conflicting document while `answer` deals with the conflict dialog.
    std::vector<uint32_t> readAnswering(std::function<void(QWidget *)> answer)
    {
        MaterialConflict::instance().setObserver(std::make_shared<Ui::Observers::MaterialConflictObserver>(nullptr));
        write(dir.filePath("conflict.vxf"), conflictingDocument());
        TestSupport::answerNextModal(std::move(answer));
        EXPECT_TRUE(Core::Operations::readDocument(model, dir.filePath("conflict.vxf"), nullptr));
        return cellsOf(model);
    }

    QTemporaryDir dir;
    Core::ApplicationModel model;
};
using UnsavedWork = DocumentWindows;

} // namespace

TEST_F(UnsavedWork, ClosingAModifiedWindowAsksAndEachAnswerDoesWhatItSays)
{
    Ui::MainWindow *window = windowWithChanges(dir.filePath("doc.vxf"));
    QPointer<Ui::MainWindow> alive(window);

    auto asked = answerNextBox(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked->all(), kQuestion);
    ASSERT_TRUE(alive);
    EXPECT_TRUE(window->presenter().applicationModel().isModified());
    EXPECT_EQ(window->presenter().applicationModel().scene().objects().size(), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("doc.vxf")));

    // Exit and Ctrl+Q go the same way as the close button.
    asked = answerNextBox(QMessageBox::Cancel);
    window->action("actionExit")->trigger();
    EXPECT_EQ(asked->all(), kQuestion);
    ASSERT_TRUE(alive);
    EXPECT_EQ(window->action("actionExit")->shortcut(), QKeySequence("Ctrl+Q"));

    // "Save" writes to the document's file without asking where, then the window closes.
    asked = answerNextBox(QMessageBox::Save);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(QFile::exists(dir.filePath("doc.vxf")));
    EXPECT_FALSE(window->presenter().applicationModel().isModified());
    TestSupport::closeWindow(window);
    EXPECT_FALSE(alive);

    // "Discard" closes and writes nothing.
    window = windowWithChanges(dir.filePath("other.vxf"));
    asked = answerNextBox(QMessageBox::Discard);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.vxf")));
    delete window; // closed already; its scratch files go with it
}

TEST_F(UnsavedWork, SaveAnswerForADocumentWithoutFileAsksForOneAndCancellingKeepsTheWindow)
{
    Ui::MainWindow *window = windowWithChanges(QString());
    auto asked = answerNextBox(QMessageBox::Save, [](QWidget *modal) {
        ASSERT_TRUE(qobject_cast<QFileDialog *>(modal));
        static_cast<QDialog *>(modal)->reject();
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_TRUE(window->presenter().applicationModel().isModified());

    const QString target = dir.filePath("chosen.vxf");
    asked = answerNextBox(QMessageBox::Save, [target](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(dialog);
        dialog->selectFile(target);
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(QFile::exists(target));
    TestSupport::closeWindow(window);
}

TEST_F(UnsavedWork, UnchangedJustSavedAndJustOpenedWindowsCloseWithoutAsking)
{
    auto *fresh = new Ui::MainWindow();
    EXPECT_TRUE(closesWithoutAsking(fresh));
    TestSupport::closeWindow(fresh);

    Ui::MainWindow *saved = windowWithChanges(dir.filePath("saved.vxf"));
    saved->action("actionSave")->trigger();
    EXPECT_TRUE(closesWithoutAsking(saved));
    TestSupport::closeWindow(saved);

    Ui::MainWindow *opened = openDocument(dir.filePath("saved.vxf"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->presenter().applicationModel().scene().objects().size(), 1);
    EXPECT_TRUE(closesWithoutAsking(opened));
    TestSupport::closeWindow(opened);
}

// What the user does in the window after a save makes it ask again: an undo, an edited
// material (the document carries the catalogue). An edit dialog left with Cancel does not.
TEST_F(UnsavedWork, UndoAndCatalogueEditsAfterASaveCountAsChanges)
{
    auto *window = new Ui::MainWindow();
    auto &model = window->presenter().applicationModel();
    model.startOperation(std::make_shared<FakeStep>(&model, "Step"));
    ASSERT_TRUE(window->action("actionUndo")->isEnabled());
    model.scene().setDocumentName(dir.filePath("doc.vxf"));
    window->action("actionSave")->trigger();
    ASSERT_FALSE(model.isModified());

    window->action("actionUndo")->trigger();
    EXPECT_TRUE(model.isModified());
    window->action("actionSave")->trigger();

    const struct {
        bool recolour;
        QDialogButtonBox::StandardButton press;
        bool modified;
    } edits[] = {{true, QDialogButtonBox::Cancel, false}, {false, QDialogButtonBox::Ok, false},
                 {true, QDialogButtonBox::Ok, true}};
    for (const auto &edit : edits) {
        TestSupport::answerNextModal([edit](QWidget *modal) {
            auto *dialog = qobject_cast<Ui::ManageMaterialsDialog *>(modal);
            ASSERT_TRUE(dialog);
            auto *table = dialog->tableModel();
            if (edit.recolour)
                table->setData(table->index(0, Ui::MaterialTableViewItem::ColorColumn), QColor(1, 2, 3));
            modal->findChild<QDialogButtonBox *>()->button(edit.press)->click();
        });
        window->action("actionManage_Materials")->trigger();
        EXPECT_EQ(model.isModified(), edit.modified) << edit.recolour << " " << edit.press;
    }

    auto asked = answerNextBox(QMessageBox::Discard);
    TestSupport::closeWindow(window);
    EXPECT_EQ(asked->all(), kQuestion);
}

// New with changes asks first. Cancel changes nothing, not even the operation waiting for
// input; "Discard" writes nothing and empties the document and its history; "Save" writes the
// old document before it goes. The new document has no file.
TEST_F(UnsavedWork, NewWithChangesAsksFirstAndTheNewDocumentHasNoFile)
{
    const QString path = dir.filePath("doc.vxf");
    Ui::MainWindow *window = windowWithChanges(path);
    auto &model = window->presenter().applicationModel();
    window->setWindowTitle("Voxfab  " + path);
    model.volumeHistory().setLastStep(1, 13);
    model.startOperation(std::make_shared<FakeStep>(&model, "Create Substrate"));
    auto waiting = std::make_shared<FakeStep>(&model, "Step", true);
    model.startOperation(waiting);

    auto asked = answerNextBox(QMessageBox::Cancel);
    window->action("actionNew")->trigger();
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.scene().documentName(), path);
    EXPECT_EQ(window->windowTitle(), "Voxfab  " + path);
    EXPECT_EQ(model.currentOperation(), waiting);
    EXPECT_EQ(waiting->cancels, 0);
    EXPECT_EQ(model.undoRedo().undoDepth(), 1u);
    EXPECT_TRUE(model.isModified());

    asked = answerNextBox(QMessageBox::Discard);
    window->action("actionNew")->trigger();
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_TRUE(model.scene().documentName().isEmpty());
    EXPECT_EQ(window->windowTitle(), "Voxfab");
    EXPECT_EQ(waiting->cancels, 1);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.inputRequest().requester(), nullptr);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_FALSE(window->action("actionUndo")->isEnabled());
    EXPECT_FALSE(model.volumeHistory().hasLastStep(1));
    EXPECT_FALSE(model.isModified());

    addVolume(model, 3);
    model.scene().setDocumentName(path);
    model.markModified();
    asked = answerNextBox(QMessageBox::Save);
    window->action("actionNew")->trigger();
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_TRUE(model.scene().documentName().isEmpty());
    EXPECT_EQ(window->windowTitle(), "Voxfab");
    EXPECT_FALSE(model.isModified());
    EXPECT_TRUE(closesWithoutAsking(window));
    waiting.reset(); // an operation must not outlive the model it points to
    TestSupport::closeWindow(window);
}

// A document that is not one is refused the same way (the document window tests and the
// command-line test).
TEST_F(UnsavedWork, MissingDocumentIsExplainedAndLeavesNoWindowBehind)
{
    const int windowsBefore = mainWindowCount();
    const QString file = dir.filePath("gone.vxf");
    const auto told = answerNextBox();
    EXPECT_FALSE(openDocument(file));
    EXPECT_EQ(told->text, "The file " + file + " could not be opened: No such file or directory.");
    EXPECT_EQ(mainWindowCount(), windowsBefore);
}

// A save into a folder that went away: the box says so, the title keeps the name, and the
// window stays unsaved, so that closing it asks again, and a "Save" answer that fails the
// same way keeps the window open.
TEST_F(UnsavedWork, FailedSaveSaysWhyAndTheWindowStaysUnsaved)
{
    QDir(dir.path()).mkdir("sub");
    const QString path = dir.filePath("sub/doc.vxf");
    Ui::MainWindow *window = windowWithChanges(path);
    QPointer<Ui::MainWindow> alive(window);
    window->action("actionSave")->trigger();
    ASSERT_TRUE(QFile::exists(path));
    const QString title = window->windowTitle();
    QDir(dir.filePath("sub")).removeRecursively();
    const QString why = kWriteError + path + ": The folder " + dir.filePath("sub") + " does not exist.";

    window->presenter().applicationModel().markModified();
    const auto told = answerNextBox();
    window->action("actionSave")->trigger();
    EXPECT_EQ(told->text, why);
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_TRUE(window->presenter().applicationModel().isModified());

    QString error;
    auto asked = answerNextBox(QMessageBox::Save, [&error](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_TRUE(box);
        error = box->windowTitle() + " / " + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_EQ(error, "Error writing to file / " + why);
    ASSERT_TRUE(alive);

    asked = answerNextBox(QMessageBox::Discard);
    TestSupport::closeWindow(window);
    EXPECT_EQ(asked->all(), kQuestion);
}

TEST_F(UnsavedWork, SaveThatRunsOutOfRoomKeepsThePreviousFileByteForByte)
{
    const QString path = dir.filePath("doc.vxf");
    Ui::MainWindow *window = windowWithChanges(path);
    auto &model = window->presenter().applicationModel();
    window->action("actionSave")->trigger();
    const QByteArray before = contents(path);
    ASSERT_FALSE(before.isEmpty());

    addVolume(model, 64);
    model.markModified();
    const auto told = answerNextBox();
    {
        FileSizeLimit limit(kSmallFileLimit);
        window->action("actionSave")->trigger();
    }
    EXPECT_EQ(told->text, kWriteError + path + ": File too large.");
    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.vxf"}); // no half-written file
    EXPECT_TRUE(model.isModified());
    EXPECT_EQ(window->windowTitle(), "Voxfab  " + path);

    answerNextBox(QMessageBox::Discard);
    TestSupport::closeWindow(window);
}

TEST_F(DocumentWindows, ConflictDialogStartsUnansweredAndShowsBothMaterials)
{
    MaterialConflictDialog dialog;
    const Material existing = MaterialFactory::instance()->material(3);
    const Material loaded(3, QStringLiteral("Si"), 1, 1, 0.1f, {0.f, 1.f, 0.f, 1.f});
    dialog.setMaterials(existing, loaded, MaterialFactory::instance()->materials());

    EXPECT_FALSE(dialog.hasChoice());
    for (const char *name : kAnswers)
        EXPECT_FALSE(dialog.findChild<QRadioButton *>(name)->isChecked()) << name;
    EXPECT_EQ(dialog.findChild<QLabel *>("lblLoadedMaterialName")->text(), QStringLiteral("Si"));
    EXPECT_EQ(dialog.findChild<QLabel *>("lblExistingMaterialName")->text(), QStringLiteral("Thermal Si02"));
    const QImage swatch = dialog.findChild<QLabel *>("lblLoadedMaterialColor")->pixmap(Qt::ReturnByValue).toImage();
    EXPECT_EQ(QColor(swatch.pixel(swatch.width() / 2, swatch.height() / 2)), QColor(0, 255, 0));
    auto *list = dialog.findChild<QComboBox *>("cbxReplacementMaterial");
    ASSERT_EQ(list->count(), int(MaterialFactory::instance()->materials().size()));
    EXPECT_EQ(list->itemData(list->findText("Poly-Si")).toUInt(), 16u);
    EXPECT_FALSE(list->isEnabled());
    auto *another = dialog.findChild<QRadioButton *>("rbtnUseAnother");
    another->setChecked(true);
    EXPECT_TRUE(list->isEnabled());
    dialog.findChild<QRadioButton *>("rbtnAddAsNew")->setChecked(true);
    EXPECT_FALSE(another->isChecked()); // the answers exclude each other
    EXPECT_FALSE(list->isEnabled());
}

// Adding the loaded material as new, and a cancelled or unanswered dialog alike, keep it apart
// from the catalogue's material of the same id under a fresh id; another material is taken from
// the list. Every cell of the loaded id is translated.
TEST_F(DocumentWindows, EachAnswerToAConflictTranslatesEveryCellOfTheLoadedId)
{
    const struct {
        const char *answer; // a radio button, or nullptr for none
        QDialogButtonBox::StandardButton press;
        uint32_t replacement; // 0: a fresh id for the loaded material
    } rows[] = {
        {"rbtnAddAsNew", QDialogButtonBox::Ok, 0},
        {"rbtnUseAnother", QDialogButtonBox::Ok, 16},
        {nullptr, QDialogButtonBox::Cancel, 0},
        {nullptr, QDialogButtonBox::Ok, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.answer ? row.answer : "none") + (row.press == QDialogButtonBox::Ok ? " ok" : " cancel"));
        MaterialFactory::instance()->createDefaultMaterials();
        model.scene().clear();
        const auto cells = readAnswering([&row](QWidget *dialog) {
            if (row.answer)
                dialog->findChild<QRadioButton *>(row.answer)->setChecked(true);
            if (row.replacement) {
                auto *list = dialog->findChild<QComboBox *>("cbxReplacementMaterial");
                list->setCurrentIndex(list->findData(row.replacement));
            }
            dialog->findChild<QDialogButtonBox *>()->button(row.press)->click();
        });
        ASSERT_EQ(cells.size(), 3u);
        EXPECT_EQ(cells, (std::vector<uint32_t>{cells[0], 0, cells[0]}));
        if (row.replacement) {
            EXPECT_EQ(cells[0], row.replacement);
        } else {
            EXPECT_GE(cells[0], MaterialFactory::kFirstUserMaterialId);
            EXPECT_EQ(MaterialFactory::instance()->material(cells[0]).name(), QStringLiteral("Si"));
        }
        EXPECT_EQ(MaterialFactory::instance()->material(3).name(), QStringLiteral("Thermal Si02"));
    }
}

TEST_F(DocumentWindows, SaveAsRetitlesTheWindowWithTheChosenFile)
{
    auto *window = new Ui::MainWindow();
    auto &windowModel = window->presenter().applicationModel();
    windowModel.scene().addObject(std::make_shared<Model::Automaton::TotalVolume>(
        2, 1, 1, 1.f, 1.f, 1.f, Util::Vector3D(), std::vector<uint32_t>{1, 0}));
    const QString target = dir.filePath("titled.vxf");
    TestSupport::answerNextModal([target](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Choose location"));
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Voxfab file (*.vxf)"});
        dialog->selectFile(target);
        static_cast<QDialog *>(dialog)->accept();
    });
    windowModel.startOperation(Core::Operations::SaveAsId);
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Voxfab  ") + target);
    TestSupport::closeWindow(window);
}

// A document opens in a new maximized window named after it; what its reader warns about shows
// in that window's console.
TEST_F(DocumentWindows, OpenedDocumentShowsInANewWindowWithItsWarnings)
{
    write(dir.filePath("short.vxf"),
          "<Document><Header version=\"1\"/><Object object-type=\"1\" size-x=\"1\" size-y=\"2\" size-z=\"1\">"
          "<State>1 </State></Object>\n<Broken");
    Ui::MainWindow *opened = openDocument(dir.filePath("short.vxf"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->windowTitle(), QStringLiteral("Voxfab  ") + dir.filePath("short.vxf"));
    EXPECT_TRUE(opened->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(cellsOf(opened->presenter().applicationModel()), (std::vector<uint32_t>{1, 0}));
    const QStringList lines = UiTest::consoleText(*opened).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QString::fromUtf8("WARNING: The \"State\" of cell volume 1 (1 × 2 × 1) holds 1 "
                                                 "material id for its 2 cells; the last cell is left empty.")))
        << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter(QRegularExpression("^WARNING: The document is damaged near line 2: ")).size(), 1)
        << lines.join('\n').toStdString();
    TestSupport::closeWindow(opened);
}

// The conflict dialog belongs to documents that are opened: a document refused for an object
// behind a conflicting material shows the error box alone, and leaves no window.
TEST_F(DocumentWindows, RefusedDocumentAsksNothingAboutItsMaterials)
{
    MaterialConflict::instance().setObserver(std::make_shared<Ui::Observers::MaterialConflictObserver>(nullptr));
    QByteArray document = conflictingDocument();
    document.insert(document.indexOf("</Document>"),
                    "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"2\"><State>1 <b/></State></Object>");
    write(dir.filePath("refused.vxf"), document);
    QStringList shown;
    std::function<void(QWidget *)> answer = [&](QWidget *modal) {
        shown << QLatin1String(modal->metaObject()->className());
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->button(QMessageBox::Ok)->click();
        } else {
            TestSupport::answerNextModal(answer);
            static_cast<QDialog *>(modal)->reject();
        }
    };
    TestSupport::answerNextModal(answer);
    const auto catalogue = MaterialFactory::instance()->materials();
    EXPECT_FALSE(openDocument(dir.filePath("refused.vxf")));
    EXPECT_EQ(shown, QStringList{"QMessageBox"});
    EXPECT_EQ(MaterialFactory::instance()->materials(), catalogue);
}
