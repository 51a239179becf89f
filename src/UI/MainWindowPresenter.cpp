#include "MainWindowPresenter.h"

#include "BatchRun/Dialog/RunProcessesDialog.h"
#include "Core/Operations/Operation.h"
#include "Core/Operations/OperationIds.h"
#include "MainWindow.h"
#include "Materials/EditCompatibleMaterialsDialog.h"
#include "Materials/ManageMaterialsDialog.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "Observers/UndoRedoObserver.h"
#include "Observers/UpdateObserver.h"
#include "OperationFactory.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>

namespace Ui {

namespace {
// The console floats near the lower right corner of the screen: this fraction of the free space
// lies to its left and above it.
constexpr double kConsolePlacement = 0.9;
}

MainWindowPresenter::MainWindowPresenter(MainWindow *mainWindow)
    : QObject(nullptr),
      mainWindow(mainWindow),
      console(mainWindow, Qt::Tool, &model.inputRequest())
{
    placeConsole();
    console.show();

    undoObserver = std::make_shared<Observers::UndoRedoObserver>();
    model.undoRedo().addUndoObserver(undoObserver);
    connect(undoObserver.get(), &Observers::UndoRedoObserver::stackChanged, this,
            &MainWindowPresenter::undoStackChanged);
    redoObserver = std::make_shared<Observers::UndoRedoObserver>();
    model.undoRedo().addRedoObserver(redoObserver);
    connect(redoObserver.get(), &Observers::UndoRedoObserver::stackChanged, this,
            &MainWindowPresenter::redoStackChanged);

    model.setOperationFactory(std::make_shared<OperationFactory>(this));
}

MainWindowPresenter::~MainWindowPresenter()
{
    disconnect(undoObserver.get(), nullptr, this, nullptr);
    disconnect(redoObserver.get(), nullptr, this, nullptr);
}

void MainWindowPresenter::placeConsole()
{
    QScreen *screen = nullptr;
    if (mainWindow && mainWindow->windowHandle())
        screen = mainWindow->windowHandle()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const int x = int((available.width() - console.width()) * kConsolePlacement);
    const int y = int((available.height() - console.height()) * kConsolePlacement);
    console.move(x, y);
}

void MainWindowPresenter::undoStackChanged()
{
    if (mainWindow)
        mainWindow->setUndoText(QString::fromStdString(model.undoRedo().undoName()));
}

void MainWindowPresenter::redoStackChanged()
{
    if (mainWindow)
        mainWindow->setRedoText(QString::fromStdString(model.undoRedo().redoName()));
}

void MainWindowPresenter::operationActivated(const QString &operationId)
{
    bool ok = false;
    const uint32_t id = operationId.toUInt(&ok);
    model.startOperation(ok ? id : 0);
}

void MainWindowPresenter::enterPressed()
{
    console.enterPressed();
}

void MainWindowPresenter::cancelPressed()
{
    model.cancelCurrent();
    model.selectionMode().clearSelection();
    model.notifyUpdateObservers();
}

void MainWindowPresenter::undo()
{
    model.undoRedo().undo();
}

void MainWindowPresenter::redo()
{
    model.undoRedo().redo();
}

bool MainWindowPresenter::settleUnsavedChanges()
{
    if (!model.isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, QLatin1String(MainWindow::kProgramName),
                    QStringLiteral("The document has been modified."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, mainWindow);
    box.setInformativeText(QStringLiteral("Do you want to save your changes?"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool MainWindowPresenter::save()
{
    model.startOperation(Core::Operations::SaveId);
    return !model.isModified();
}

void MainWindowPresenter::newDocument()
{
    if (model.isModified()) {
        if (!settleUnsavedChanges())
            return;
    } else {
        const auto answer = QMessageBox::information(mainWindow, QStringLiteral("Create new document"),
                                                     QStringLiteral("This will erase all data. Continue?"),
                                                     QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok)
            return;
    }
    model.cancelCurrent();
    model.selectionMode().clearSelection();
    model.undoRedo().clear();
    model.inputRequest().resetRequest();
    model.clearPreview();
    model.scene().clear();
    model.volumeHistory().clear();
    model.markUnmodified();
    if (mainWindow)
        mainWindow->setWindowTitle(QLatin1String(MainWindow::kProgramName));
    model.notifyUpdateObservers();
}

void MainWindowPresenter::setSelectionMode(bool on)
{
    if (model.selectionMode().isSelectionMode() != on)
        model.selectionMode().setSelectionMode(on);
}

void MainWindowPresenter::showConsole(bool show)
{
    console.setVisible(show);
}

void MainWindowPresenter::connectView()
{
    auto observer = std::make_shared<Observers::UpdateObserver>();
    model.addUpdateObserver(observer);
    if (mainWindow && mainWindow->centralWidget())
        connect(observer.get(), SIGNAL(updateGL()), mainWindow->centralWidget(), SLOT(updateGL()));
}

void MainWindowPresenter::runProcesses(const QString &fileName)
{
    RunProcessesDialog dialog(mainWindow, fileName, &model);
    dialog.exec();
}

void MainWindowPresenter::manageMaterials()
{
    ManageMaterialsDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    auto factory = Model::Materials::MaterialFactory::instance();
    const auto before = factory->materials();
    for (const auto &material : dialog.materials())
        factory->setMaterial(material);
    factory->saveMaterials();
    // A document carries the whole catalogue, so an edited material is a change to save.
    if (factory->materials() != before)
        model.markModified();
    model.selectionMode().clearSelection();
    model.notifyUpdateObservers();
}

void MainWindowPresenter::editCompatibleMaterials()
{
    EditCompatibleMaterialsDialog dialog(mainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return;
    auto factory = Model::Process::ProcessFactory::instance();
    for (const auto &process : dialog.processes())
        factory->setProcess(process);
    factory->saveProcesses();
}

} // namespace Ui
