// Nothing a user made is lost without being asked: closing a window or File → New with changes
// since the last save asks "Save", "Discard" or "Cancel"; a failed save says why, keeps the
// previous file and leaves the window unsaved; a refused Open leaves no window behind.

#include "UiTestSupport.h"

#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/Materials/ManageMaterialsDialog.h"
#include "UI/Materials/MaterialTableViewItem.h"
#include "UI/Observers/DocumentOpenedObserver.h"
#include "common/Cells.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPointer>
#include <csignal>
#include <sys/resource.h>

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

struct UnsavedWork : ::testing::Test {
    void TearDown() override { Model::Materials::MaterialFactory::instance()->createDefaultMaterials(); }

    QTemporaryDir dir;
};

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

    Core::Operations::OpenDocumentOperation::setLastDocumentPath(dir.filePath("saved.vxf"));
    Ui::Observers::DocumentOpenedObserver observer;
    observer.update();
    ASSERT_TRUE(observer.openedWindow());
    EXPECT_EQ(observer.openedWindow()->presenter().applicationModel().scene().objects().size(), 1);
    EXPECT_TRUE(closesWithoutAsking(observer.openedWindow()));
    TestSupport::closeWindow(observer.openedWindow());
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

// New with changes asks first (what Cancel and Discard do to the document and its history is in
// the main window's test): "Save" writes the old document before it goes, "Discard" writes
// nothing, and the new document has no file.
TEST_F(UnsavedWork, NewWithChangesAsksFirstAndTheNewDocumentHasNoFile)
{
    const QString path = dir.filePath("doc.vxf");
    Ui::MainWindow *window = windowWithChanges(path);
    auto &model = window->presenter().applicationModel();
    window->setWindowTitle("Voxfab  " + path);

    auto asked = answerNextBox(QMessageBox::Save);
    window->action("actionNew")->trigger();
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_TRUE(model.scene().documentName().isEmpty());
    EXPECT_EQ(window->windowTitle(), "Voxfab");
    EXPECT_FALSE(model.isModified());

    const QByteArray saved = contents(path);
    addVolume(model, 3);
    model.scene().setDocumentName(path);
    model.markModified();
    asked = answerNextBox(QMessageBox::Discard);
    window->action("actionNew")->trigger();
    EXPECT_EQ(asked->all(), kQuestion);
    EXPECT_EQ(contents(path), saved);
    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_TRUE(closesWithoutAsking(window));
    TestSupport::closeWindow(window);
}

// A document that is not one is refused the same way (the document window tests and the
// command-line test).
TEST_F(UnsavedWork, MissingDocumentIsExplainedAndLeavesNoWindowBehind)
{
    const int windowsBefore = mainWindowCount();
    const QString file = dir.filePath("gone.vxf");
    Core::Operations::OpenDocumentOperation::setLastDocumentPath(file);
    const auto told = answerNextBox();
    Ui::Observers::DocumentOpenedObserver observer;
    observer.update();
    EXPECT_EQ(told->text, "The file " + file + " could not be opened: No such file or directory.");
    EXPECT_FALSE(observer.openedWindow());
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
