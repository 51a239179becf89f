#include "Model/Automaton/TotalVolume.h"
#include "UI/BatchRun/Dialog/RunProcessesDialog.h"
#include "Engine/ProcessListFile.h"
#include "Engine/ProcessTypes.h"
#include "UI/LastFolders.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "common/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Model::Automaton::TotalVolume;
using Ui::RunProcessesDialog;

namespace {

std::unique_ptr<Ui::MainWindow> makeWindow()
{
    auto window = std::make_unique<Ui::MainWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    return window;
}

std::shared_ptr<TotalVolume> smallVolume()
{
    return std::make_shared<TotalVolume>(2, 2, 2, 1.f, 1.f, 1.f, Util::Vector3D(), std::vector<uint32_t>(8, 1));
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

} // namespace

TEST(BatchRunActions, BatchRunOpensTheDialogOnTheSelectedVolumeAndClearsMasksAfterwards)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    auto volume = smallVolume();
    model.scene().addObject(volume);
    model.scene().addObject(smallVolume());
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
