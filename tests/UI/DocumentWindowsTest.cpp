// Documents and their windows: the material conflict dialog and what each answer does to the
// cells, Save As, an opened document's window and warnings, and a refused document.

#include "UiTestSupport.h"

#include "Core/Operations/Document/DocumentFiles.h"
#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/MaterialConflict.h"
#include "UI/Observers/DocumentOpenedObserver.h"
#include "UI/Observers/MaterialConflictObserver.h"
#include "UI/Operations/MaterialConflictDialog.h"
#include "common/Cells.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QRegularExpression>
#include <QRadioButton>

using Model::Materials::Material;
using Model::Materials::MaterialFactory;
using Model::Persistence::MaterialConflict;
using Ui::Operations::MaterialConflictDialog;

namespace {

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

} // namespace

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
    Core::Operations::OpenDocumentOperation::setLastDocumentPath(dir.filePath("short.vxf"));
    Ui::Observers::DocumentOpenedObserver observer;
    observer.update();
    Ui::MainWindow *opened = observer.openedWindow();
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
    Core::Operations::OpenDocumentOperation::setLastDocumentPath(dir.filePath("refused.vxf"));
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
    Ui::Observers::DocumentOpenedObserver observer;
    observer.update();
    EXPECT_EQ(shown, QStringList{"QMessageBox"});
    EXPECT_EQ(MaterialFactory::instance()->materials(), catalogue);
    EXPECT_FALSE(observer.openedWindow());
}
