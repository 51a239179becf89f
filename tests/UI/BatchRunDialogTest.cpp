// The "Batch Run" dialog: adding, changing, moving and removing steps through their option
// dialogs, new, saved and loaded lists, runs, and the main window's actions that open it.

#include "UiTestSupport.h"

#include "Engine/ProcessListFile.h"
#include "Engine/ProcessTypes.h"
#include "UI/BatchRun/Dialog/RunProcessesDialog.h"
#include "UI/LastFolders.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "Util/Vector3D.h"
#include "common/Cells.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QProgressBar>
#include <QRadioButton>
#include <QSemaphore>
#include <QTest>
#include <QTreeWidget>
#include <functional>

using Engine::ProcessData;
using Model::Automaton::TotalVolume;
using Ui::RunProcessesDialog;
using namespace UiTest;

namespace {

constexpr int kRunTimeout = 120000; // ms; a limit for a hung run, not a measure of speed

// Plays the user in front of the option dialogs: sets the fields it is given and accepts, and
// remembers what the dialogs showed when they opened.
struct FakeUser {
    double thickness = 2.0;
    bool spherical = false;
    bool accept = true;
    QString imageFile = QStringLiteral("picture.png");
    double shownThickness = -1;
    uint32_t shownMaterial = 0;
    uint32_t chosenMaterial = 0;
    QString caption, filter;

    bool run(QDialog &dialog)
    {
        if (qobject_cast<Ui::Operations::CreateSubstrateDialog *>(&dialog))
            fill(dialog, {{"sbxVolumeSizeX", 6}, {"sbxVolumeSizeY", 6}, {"sbxVolumeSizeZ", 6}, {"sbxSubstrateSizeZ", 3},
                          {"chkSpherical", spherical}, {"dblCornerX", 1.5}});
        for (const char *name : {"dblThickness", "dblDepth"}) {
            if (auto *box = dialog.findChild<QDoubleSpinBox *>(name)) {
                shownThickness = box->value();
                box->setValue(thickness);
            }
        }
        if (auto *chooser = dialog.findChild<QComboBox *>("cbxMaterial")) {
            shownMaterial = Ui::Operations::chosenMaterialId(chooser);
            chooser->setCurrentIndex(chooser->count() - 1);
            chosenMaterial = Ui::Operations::chosenMaterialId(chooser);
        }
        return accept;
    }

    void attachTo(RunProcessesDialog &dialog)
    {
        dialog.setDialogRunner([this](QDialog &d) { return run(d); });
        dialog.setFileChooser([this](QWidget *, Ui::ProcessEditContext::FileMode, const QString &c, const QString &,
                                     const QString &f) {
            caption = c;
            filter = f;
            return imageFile;
        });
    }
};

void click(RunProcessesDialog &dialog, const char *button)
{
    dialog.findChild<QPushButton *>(button)->click();
}

// Closes a modal widget if one is open when the event loop next runs; reports whether it was.
std::shared_ptr<bool> closeAnyModal()
{
    auto shown = std::make_shared<bool>(false);
    QTimer::singleShot(0, [shown] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            *shown = true;
            modal->close();
        }
    });
    return shown;
}

// Handles events until `done` holds; false when it never did within the limit.
bool waitUntil(const std::function<bool()> &done)
{
    QDeadlineTimer limit(kRunTimeout);
    while (!done()) {
        if (limit.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

// Until the run has ended and the progress timer has taken note of it.
bool waitForRun(RunProcessesDialog &dialog)
{
    return waitUntil([&] { return !dialog.isRunning() && !dialog.isFollowingRun(); });
}

// What the batch dialog showed when it opened; it is then closed.
struct SeenDialog {
    bool opened = false;
    QString title;
    int steps = -1;
    std::shared_ptr<TotalVolume> volume;
};

void closeNextBatchDialog(SeenDialog &seen)
{
    TestSupport::answerNextModal([&seen](QWidget *modal) {
        auto *dialog = qobject_cast<RunProcessesDialog *>(modal);
        ASSERT_TRUE(dialog);
        seen.opened = true;
        seen.title = dialog->windowTitle();
        seen.steps = dialog->processes().size();
        seen.volume = dialog->volume();
        dialog->reject();
    });
}

struct BatchRunDialog : ::testing::Test {
    BatchRunDialog() { user.attachTo(dialog); }

    void addStep(uint32_t type)
    {
        auto *types = child<QComboBox>(dialog, "cbxProcessType");
        types->setCurrentIndex(types->findData(type));
        click(dialog, "btnAddProcess");
    }
    QTreeWidget *tree() { return child<QTreeWidget>(dialog, "treeWidget"); }
    void selectRow(int row) { tree()->setCurrentItem(tree()->topLevelItem(row)); }
    int selectedRow()
    {
        const auto rows = tree()->selectedItems();
        return rows.size() == 1 ? tree()->indexOfTopLevelItem(rows.first()) : -1;
    }
    QStringList imageFiles() const
    {
        QStringList names;
        for (const ProcessData &step : dialog.processes())
            names << step.getProcessParameter("Filename").toString();
        return names;
    }

    Core::ApplicationModel model;
    RunProcessesDialog dialog{nullptr, std::shared_ptr<TotalVolume>(), &model};
    FakeUser user;
};

} // namespace

TEST_F(BatchRunDialog, AddingAStepTakesTheValuesOfItsOptionDialog)
{
    auto *types = dialog.findChild<QComboBox *>("cbxProcessType");
    ASSERT_EQ(types->count(), 21) << "every process type, sorted by name";
    for (int i = 1; i < types->count(); ++i)
        EXPECT_LT(types->itemText(i - 1), types->itemText(i));
    EXPECT_EQ(types->itemData(types->findText("Pour Material")).toUInt(), 9u);

    for (uint32_t type : {Engine::CvdType, Engine::IsotropicDepositionType, Engine::IsotropicEtchingType,
                          Engine::ElectroplatingType, Engine::CreateSubstrateType, Engine::SaveImageType})
        addStep(type);
    const auto &list = dialog.processes();
    ASSERT_EQ(list.size(), 6);

    EXPECT_EQ(list[0].getProcessParameter("Thickness"), QVariant(2.0));
    EXPECT_EQ(list[1].getProcessParameter("Film Thickness"), QVariant(2.0));
    EXPECT_EQ(list[2].getProcessParameter("Depth"), QVariant(2.0));
    for (int i : {0, 1, 2, 4})
        EXPECT_FALSE(list[i].getParameterVisibility("Material_Id")) << i;
    EXPECT_TRUE(list[3].getParameterVisibility("Conducting Material"));
    EXPECT_EQ(list[4].getProcessParameter("Material_Id").toUInt(), user.chosenMaterial);
    EXPECT_EQ(list[4].getProcessParameter("Lower Left Front Corner").value<Util::Vector3D>().x, 1.5);
    EXPECT_TRUE(list[4].getParameterVisibility("Substrate Size Z"));
    EXPECT_FALSE(list[4].getParameterVisibility("Substrate Radius"));
    EXPECT_EQ(list[5].getProcessParameter("Filename"), QVariant("picture.png"));
    EXPECT_EQ(user.caption, "Save Image");
    EXPECT_EQ(user.filter, "Image Files (*.png *.jpg *.bmp)");

    // One row per step; the material row of a step carries a swatch of the material's colour.
    ASSERT_EQ(tree()->topLevelItemCount(), 6);
    QTreeWidgetItem *cvd = tree()->topLevelItem(0);
    EXPECT_EQ(cvd->text(1), "CVD");
    ASSERT_EQ(cvd->childCount(), 2); // "Material", "Thickness"
    EXPECT_FALSE(cvd->child(0)->icon(3).isNull());
    EXPECT_TRUE(cvd->child(1)->icon(3).isNull());

    // A refused dialog and a process without a dialog add nothing.
    user.accept = false;
    addStep(Engine::CvdType);
    TestSupport::pressOnNextModal(QMessageBox::Ok);
    addStep(Engine::PhotolithographyType);
    EXPECT_EQ(dialog.processes().size(), 6);
}

TEST_F(BatchRunDialog, ModifyingAStepFillsItsDialogAndKeepsWhatTheListShows)
{
    addStep(Engine::IsotropicEtchingType);
    addStep(Engine::CreateSubstrateType);

    user.thickness = 7.5;
    selectRow(0);
    click(dialog, "btnModify");
    EXPECT_EQ(user.shownThickness, 2.0);
    EXPECT_EQ(user.shownMaterial, user.chosenMaterial);
    EXPECT_EQ(dialog.processes()[0].getProcessParameter("Depth"), QVariant(7.5));

    // The substrate turns into a sphere, but its list entry keeps showing the box fields.
    user.spherical = true;
    tree()->topLevelItem(1)->setExpanded(true);
    QTreeWidgetItem *parameterRow = tree()->topLevelItem(1)->child(0);
    emit tree()->itemDoubleClicked(parameterRow, 3);
    const ProcessData &substrate = dialog.processes()[1];
    EXPECT_TRUE(substrate.getProcessParameter("SphericalSubstrate").toBool());
    EXPECT_EQ(substrate.getProcessParameter("Lower Left Front Corner").value<Util::Vector3D>().x, 1.5);
    EXPECT_TRUE(substrate.getParameterVisibility("Substrate Size X"));
    EXPECT_FALSE(substrate.getParameterVisibility("Substrate Radius"));
    EXPECT_TRUE(tree()->topLevelItem(1)->isExpanded()) << "the rebuilt tree keeps the step open";

    tree()->setCurrentItem(tree()->topLevelItem(1)->child(0));
    EXPECT_TRUE(tree()->selectedItems().isEmpty()) << "only steps can be selected";
}

TEST_F(BatchRunDialog, StepsAreReorderedAndRemovedByTheirButtons)
{
    for (const char *name : {"a", "b", "c"}) {
        user.imageFile = name;
        addStep(Engine::SaveImageType);
    }

    selectRow(0);
    click(dialog, "btnMoveUp");
    selectRow(2);
    click(dialog, "btnMoveDown");
    EXPECT_EQ(imageFiles(), QStringList({"a", "b", "c"}));

    selectRow(0);
    click(dialog, "btnMoveDown");
    EXPECT_EQ(imageFiles(), QStringList({"b", "a", "c"}));
    EXPECT_EQ(selectedRow(), 1);
    click(dialog, "btnMoveUp");
    EXPECT_EQ(imageFiles(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(selectedRow(), 0);

    // "c" goes before the first step, then after the (new) last one.
    QStringList offered;
    bool placeAfter = false;
    dialog.setDialogRunner([&](QDialog &move) {
        auto *after = move.findChild<QRadioButton *>("rbtAfter");
        EXPECT_FALSE(after->isChecked());
        EXPECT_FALSE(move.findChild<QRadioButton *>("rbtBefore")->isChecked());
        auto *steps = move.findChild<QComboBox *>("cbxProcess");
        offered.clear();
        for (int i = 0; i < steps->count(); ++i)
            offered << steps->itemText(i);
        steps->setCurrentIndex(placeAfter ? steps->count() - 1 : 0);
        after->setChecked(placeAfter);
        return true;
    });
    selectRow(2);
    click(dialog, "btnMoveTo");
    EXPECT_EQ(offered, QStringList({"1 Save Image", "2 Save Image"}));
    EXPECT_EQ(imageFiles(), QStringList({"c", "a", "b"}));
    EXPECT_EQ(selectedRow(), 0);
    placeAfter = true;
    click(dialog, "btnMoveTo");
    EXPECT_EQ(imageFiles(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(selectedRow(), 2);

    selectRow(1);
    click(dialog, "btnRemoveProcess");
    EXPECT_EQ(imageFiles(), QStringList({"a", "c"}));
    EXPECT_EQ(tree()->topLevelItem(1)->text(0), "2");
}

TEST_F(BatchRunDialog, NewListAsksBeforeDroppingSteps)
{
    auto interrupted = closeAnyModal();
    click(dialog, "btnNewList");
    QCoreApplication::processEvents();
    EXPECT_FALSE(*interrupted) << "an empty list is dropped without a question";

    addStep(Engine::SaveImageType);
    TestSupport::pressOnNextModal(QMessageBox::Cancel);
    click(dialog, "btnNewList");
    EXPECT_EQ(dialog.processes().size(), 1);

    // Save, then no file chosen: the list was not saved, so it is kept.
    user.imageFile.clear();
    TestSupport::pressOnNextModal(QMessageBox::Save);
    click(dialog, "btnNewList");
    EXPECT_EQ(dialog.processes().size(), 1);

    const auto asked = answerNextBox(QMessageBox::Discard);
    click(dialog, "btnNewList");
    EXPECT_TRUE(dialog.processes().isEmpty());
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_EQ(asked->text, "Creating a new process list.");
    EXPECT_EQ(asked->details, "You will lose any unsaved changes, do you wish to continue?");
    EXPECT_EQ(asked->defaultButton, QMessageBox::Save);
    EXPECT_EQ(dialog.windowTitle(), "Batch Run");
}

TEST_F(BatchRunDialog, ListsAreSavedAndLoadedUnderTheirFileName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("steps.plst");
    addStep(Engine::CvdType);
    addStep(Engine::CreateSubstrateType);

    user.imageFile = path;
    click(dialog, "btnSaveList");
    EXPECT_EQ(user.caption, "Process List File");
    EXPECT_EQ(user.filter, "Process List (*.plst)");
    EXPECT_EQ(dialog.windowTitle(), "Batch Run " + path);

    RunProcessesDialog reader(nullptr, std::shared_ptr<TotalVolume>(), &model);
    FakeUser loader;
    loader.imageFile = path;
    loader.attachTo(reader);
    click(reader, "btnLoadList");
    EXPECT_EQ(reader.windowTitle(), "Batch Run " + path);
    ASSERT_EQ(reader.processes().size(), 2);
    EXPECT_EQ(reader.processes()[1].processType(), uint32_t(Engine::CreateSubstrateType));
    EXPECT_EQ(reader.processes()[0].getProcessParameter("Thickness").toDouble(), 2.0);

    // A file that cannot be read changes nothing.
    loader.imageFile = dir.filePath("missing.plst");
    click(reader, "btnLoadList");
    EXPECT_EQ(reader.processes().size(), 2);
    EXPECT_EQ(reader.windowTitle(), "Batch Run " + path);
}

TEST_F(BatchRunDialog, ARunThatCreatesItsSubstrateNeedsNoVolume)
{
    user.thickness = 1.0;
    addStep(Engine::CreateSubstrateType);
    addStep(Engine::IsotropicDepositionType);
    // Without a main window there is no view to take a picture of: the run stops there (after
    // the worker has waited for this thread's answer).
    addStep(Engine::SaveImageType);
    addStep(Engine::IsotropicDepositionType);

    click(dialog, "btnRun");
    ASSERT_TRUE(waitForRun(dialog));
    auto *progress = dialog.findChild<QProgressBar *>("progressBar");
    EXPECT_TRUE(progress->isEnabled());
    EXPECT_EQ(progress->maximum(), 4);
    EXPECT_EQ(progress->value(), 2);
    const auto objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 1);
    auto volume = std::dynamic_pointer_cast<TotalVolume>(objects.first());
    ASSERT_TRUE(volume);
    EXPECT_EQ(dialog.volume(), volume);
    // Substrate up to z = 2, then one cell of film on top.
    EXPECT_EQ(TestSupport::materialAt(*volume, 3, 3, 3), user.chosenMaterial);
    EXPECT_EQ(TestSupport::materialAt(*volume, 3, 3, 4), 0u);
}

TEST_F(BatchRunDialog, ARunWithoutAVolumeReportsTheMissingVolume)
{
    addStep(Engine::CvdType);

    const auto shown = answerNextBox(QMessageBox::Ok, nullptr, kRunTimeout);
    click(dialog, "btnRun");
    ASSERT_TRUE(waitForRun(dialog));
    EXPECT_EQ(shown->title, "Missing Cell Volume");
    EXPECT_EQ(shown->text, "No cell volume was selected and a cell volume was not created. The cell volume must be "
                    "created before any other process.");
    EXPECT_EQ(dialog.findChild<QProgressBar *>("progressBar")->value(), 0);
    EXPECT_TRUE(model.scene().objects().isEmpty());
}

TEST_F(BatchRunDialog, RunAndCloseDoNothingWhileARunIsInProgress)
{
    addStep(Engine::CreateSubstrateType);
    addStep(Engine::SaveImageType);
    QSemaphore entered, hold;
    QString savedAs;
    dialog.setImageSaver([&](const QString &filename) {
        savedAs = filename;
        entered.release();
        hold.acquire();
        return QString();
    });
    dialog.show();

    click(dialog, "btnRun");
    ASSERT_TRUE(waitUntil([&] { return entered.available() == 1; }));
    auto *progress = dialog.findChild<QProgressBar *>("progressBar");
    progress->setRange(0, 7);
    click(dialog, "btnRun");
    EXPECT_EQ(progress->maximum(), 2) << "the range is reset";
    click(dialog, "btnClose");
    EXPECT_TRUE(dialog.isVisible());

    hold.release();
    ASSERT_TRUE(waitForRun(dialog));
    EXPECT_EQ(savedAs, "picture.png");
    EXPECT_EQ(progress->value(), 2);
    EXPECT_EQ(model.scene().objects().size(), 1) << "the second press started no run";
    click(dialog, "btnClose");
    EXPECT_FALSE(dialog.isVisible());
}

TEST(BatchRunActions, BatchRunOpensTheDialogOnTheSelectedVolumeAndClearsMasksAfterwards)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    auto volume = TestSupport::flatVolume(2, 2, 2, 2, 1);
    model.scene().addObject(volume);
    model.scene().addObject(TestSupport::flatVolume(2, 2, 2, 2, 1));
    QBitArray mask(4, true);
    volume->setTopMask(mask, 2, 2);
    model.publishSelection({volume});

    SeenDialog seen;
    closeNextBatchDialog(seen);
    window->action("actionBatch_Run")->trigger();
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.volume, volume);
    EXPECT_EQ(seen.title, "Batch Run ");
    EXPECT_EQ(volume->topMask().count(true), 0);
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST(BatchRunActions, ProcessListActionsOpenTheDialog)
{
    auto window = makeWindow();
    SeenDialog empty;
    closeNextBatchDialog(empty);
    window->action("actionNew_Process_List")->trigger();
    EXPECT_TRUE(empty.opened);
    EXPECT_EQ(empty.steps, 0);
    EXPECT_EQ(empty.volume, nullptr);

    QTemporaryDir dir;
    const QString path = dir.filePath("one.plst");
    Engine::ProcessData step(Engine::SaveImageType);
    step.addProcessParameter("Filename", "x.png", true);
    ASSERT_TRUE(Engine::ProcessListFile().write(path, {step}));

    // The file dialog starts in the folder of the last process list.
    QTemporaryDir last;
    Ui::rememberFolder(Ui::FileKind::ProcessLists, last.path());
    SeenDialog listed;
    TestSupport::answerNextModal([&](QWidget *modal) {
        auto *chooser = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(chooser);
        EXPECT_EQ(chooser->directory().absolutePath(), QDir(last.path()).absolutePath());
        EXPECT_EQ(chooser->windowTitle(), "Process List File");
        EXPECT_EQ(chooser->nameFilters(), QStringList{"Process List (*.plst)"});
        closeNextBatchDialog(listed);
        chooser->selectFile(path);
        static_cast<QDialog *>(chooser)->accept();
    });
    window->action("actionOpen_Process_List")->trigger();
    EXPECT_TRUE(listed.opened);
    EXPECT_EQ(listed.title, "Batch Run " + path);
    EXPECT_EQ(listed.steps, 1);
    EXPECT_EQ(Ui::lastFolder(Ui::FileKind::ProcessLists), QDir(dir.path()).absolutePath());
}
