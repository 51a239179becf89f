#include "MainWindowPresenter.h"

#include "BatchRun/Dialog/RunProcessesDialog.h"
#include "Core/Operations/Operation.h"
#include "Core/Operations/OperationIds.h"
#include "MainWindow.h"
#include "MainWindowActions.h"
#include "Materials/EditCompatibleMaterialsDialog.h"
#include "Materials/ManageMaterialsDialog.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "Observers/UndoRedoObserver.h"
#include "Observers/UpdateObserver.h"
#include "OperationFactory.h"
#include "UserSettings.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>
#include <functional>

namespace Ui {

namespace {
// The console floats near the lower right corner of the screen: this fraction of the free space
// lies to its left and above it.
constexpr double kConsolePlacement = 0.9;
const char *const kConsoleSettingsName = "Console";

// Calls a function on every model notification.
class CallbackObserver : public Util::IObserver {
public:
    explicit CallbackObserver(std::function<void()> callback) : callback(std::move(callback)) {}
    void update() override { callback(); }

private:
    std::function<void()> callback;
};

// The text of the action that starts operation `id`; empty when no action does.
QString actionText(uint32_t id)
{
    for (int i = 0; id != 0 && i < kMainWindowActionCount; ++i) {
        if (kMainWindowActions[i].operationId == id)
            return QString::fromUtf8(kMainWindowActions[i].text);
    }
    return QString();
}

} // namespace

MainWindowPresenter::MainWindowPresenter(MainWindow *mainWindow)
    : QObject(nullptr),
      mainWindow(mainWindow),
      console(mainWindow, Qt::Tool, &model.inputRequest())
{
    placeConsole();

    promptObserver = std::make_shared<Console::ConsoleObserver>(&model.inputRequest());
    model.inputRequest().addObserver(promptObserver);
    connect(promptObserver.get(), &Console::ConsoleObserver::messageWritten, this,
            &MainWindowPresenter::messagePosted);
    endObserver = std::make_shared<CallbackObserver>([this] {
        if (!model.currentOperation() && this->mainWindow)
            this->mainWindow->operationEnded();
    });
    model.addUpdateObserver(endObserver);

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
    disconnect(promptObserver.get(), nullptr, this, nullptr);
    mainWindow = nullptr;
}

void MainWindowPresenter::windowShown(bool showConsole)
{
    if (!UserSettings::restoreGeometry(QLatin1String(kConsoleSettingsName), console))
        placeConsole();
    console.setVisible(showConsole);
}

void MainWindowPresenter::saveConsoleGeometry()
{
    UserSettings::saveGeometry(QLatin1String(kConsoleSettingsName), console);
}

void MainWindowPresenter::messagePosted(const QString &message)
{
    if (mainWindow)
        mainWindow->showOperationMessage(message, model.currentOperation() != nullptr);
}

void MainWindowPresenter::postLine(const std::string &line)
{
    model.inputRequest().postMessage(line);
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
    uint32_t id = operationId.toUInt(&ok);
    if (!ok)
        id = 0;
    model.startOperation(id);
    // An action whose step this build lacks says so instead of doing nothing.
    const QString action = actionText(id);
    if (!action.isEmpty() && !OperationFactory::makes(id))
        postLine(action.toStdString() + ": not available in this version.");
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
    auto &stack = model.undoRedo();
    const std::string name = stack.undoName();
    const size_t redoable = stack.redoDepth();
    stack.undo();
    if (stack.redoDepth() > redoable)
        postLine("Undo: " + name + ".");
}

void MainWindowPresenter::redo()
{
    auto &stack = model.undoRedo();
    const std::string name = stack.redoName();
    const size_t undoable = stack.undoDepth();
    stack.redo();
    if (stack.undoDepth() > undoable)
        postLine("Redo: " + name + ".");
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
