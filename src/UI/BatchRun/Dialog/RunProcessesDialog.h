#pragma once

#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "Engine/ProcessData.h"
#include "Engine/ProcessListFile.h"
#include "Engine/StepRunner.h"

#include <QDialog>
#include <QFuture>
#include <QList>
#include <QSemaphore>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

class QTreeWidgetItem;

namespace Core {
class ApplicationModel;
}
namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Ui {
class RunProcessesDialogForm;

// "Batch Run": composes, edits, reorders, saves and loads a process list and runs it on one
// cell volume. The run goes step by step on one worker thread of the global pool; a 500 ms
// timer follows it on the progress bar and refreshes the view when it has ended.
//
// A run holds the run guard from the button press until the first timer tick after the worker
// has ended; while it is held the dialog does not close.
class RunProcessesDialog : public QDialog {
    Q_OBJECT
public:
    RunProcessesDialog(QWidget *parent, std::shared_ptr<Model::Automaton::TotalVolume> volume,
                       Core::ApplicationModel *model);
    // Starts without a volume and opens the list `fileName` when it is not empty.
    RunProcessesDialog(QWidget *parent, const QString &fileName, Core::ApplicationModel *model);
    // Waits for a run in progress to end.
    ~RunProcessesDialog() override;

    // Tests replace the modal dialogs and the file choosers.
    void setDialogRunner(ProcessEditContext::DialogRunner runner) { editContext.runDialog = std::move(runner); }
    void setFileChooser(ProcessEditContext::FileChooser chooser) { editContext.chooseFile = std::move(chooser); }
    // Replaces what a "Save Image" step does on the worker thread (by default: the blocking
    // call of updateGeometry on the interface thread).
    void setImageSaver(Engine::ImageSaver saver) { saveImage = std::move(saver); }

    const QList<Engine::ProcessData> &processes() const { return processList; }
    QString listFileName() const { return fileName; }
    // The volume the steps act on; only meaningful while no run is in progress.
    std::shared_ptr<Model::Automaton::TotalVolume> volume() const { return runVolume; }
    bool isRunning();
    // True from Run until the timer has seen the run end and refreshed the view.
    bool isFollowingRun() const { return progressTimer.isActive(); }

    RunProcessesDialogForm *form() const { return ui.get(); }

public slots:
    void reject() override;

    void on_btnAddProcess_clicked();
    void on_btnModify_clicked();
    void on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_treeWidget_itemExpanded(QTreeWidgetItem *item);
    void on_treeWidget_itemCollapsed(QTreeWidgetItem *item);
    void selectionChanged();
    void on_btnRemoveProcess_clicked();
    void on_btnMoveUp_clicked();
    void on_btnMoveDown_clicked();
    void on_btnMoveTo_clicked();
    void on_btnNewList_clicked();
    void on_btnLoadList_clicked();
    void on_btnSaveList_clicked();
    void on_btnSaveListAs_clicked();
    void on_btnRun_clicked();
    void updateProgress();
    // Rebuilds the run volume's surfaces and repaints the view; with a name, saves the view's
    // image to it. A "Save Image" step calls it from the worker with a blocking queued call.
    void updateGeometry(QString filename);
    void on_btnClose_clicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    RunProcessesDialog(QWidget *parent, Core::ApplicationModel *model);
    void runProcessList(const QList<Engine::ProcessData> &steps);
    // Writes the list to its file, asking for one when it has none; false when declined or failed.
    bool saveList();
    bool saveListAs();
    QString saveImageThroughView(const QString &filename);
    bool loadList(const QString &name);
    bool writeList(const QString &name);
    void rebuildTree();
    void updateTitle();
    // The step of a row (its own, or its parent's for a parameter row); -1 for none.
    int stepOfRow(const QTreeWidgetItem *item) const;
    int selectedStep() const;
    void selectStep(int index);
    void moveStep(int from, int to);
    void repaintView();

    std::unique_ptr<RunProcessesDialogForm> ui;
    QWidget *mainWindow;
    std::shared_ptr<Model::Automaton::TotalVolume> runVolume;
    Core::ApplicationModel *model;
    // Taken by the interface thread when a run starts and released by the worker when it ends,
    // hence a semaphore: a mutex must be unlocked by the thread that locked it.
    QSemaphore runGuard{1};
    QTimer progressTimer;
    QString fileName;
    QString baseTitle;
    QList<Engine::ProcessData> processList;
    // Written by the worker, read by the progress timer.
    std::atomic<unsigned> completed{0};

    Engine::ProcessListFile listFile;
    ProcessEditContext editContext;
    Engine::ImageSaver saveImage;
    QFuture<void> runFuture;
    // The result of the last updateGeometry, handed back to the waiting worker.
    QString imageError;
    // Set while the dialog is destroyed: a pending updateGeometry then does nothing.
    bool closing = false;
};

} // namespace Ui
