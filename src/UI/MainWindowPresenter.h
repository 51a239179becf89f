#pragma once

#include "Console/CommandConsole.h"
#include "Console/ConsoleObserver.h"
#include "Core/ApplicationModel.h"

#include <QObject>
#include <QString>
#include <memory>
#include <string>

namespace Ui {

class MainWindow;
namespace Observers {
class UndoRedoObserver;
}

// The spine between one main window and its document model: operation ids from the menus
// go to the model, stack changes go back to the window's undo and redo actions, and the
// floating console is owned here.
class MainWindowPresenter : public QObject {
    Q_OBJECT
public:
    explicit MainWindowPresenter(MainWindow *mainWindow);
    ~MainWindowPresenter() override;

    // Each posts a console line naming the operation undone or redone.
    void undo();
    void redo();
    // Empties the document after asking: changes since the last save are first saved,
    // discarded or kept (see settleUnsavedChanges); an unchanged document asks "This will erase
    // all data. Continue?". The emptied window is titled as a new one.
    void newDocument();
    // Before the document goes away (its window closes, File → New), asks whether to save the
    // changes made since the last save: "Save" saves (asking for a file when the document has
    // none), "Discard" lets them go, "Cancel" keeps everything. True when the caller may go on:
    // nothing was unsaved, the save succeeded, or the changes were discarded.
    bool settleUnsavedChanges();
    void setSelectionMode(bool on);
    void showConsole(bool show);
    // The main window is on the screen for the first time: the console comes up beside it,
    // where it was left in the last run or near the screen's lower right corner, as a tool
    // window of the main window, so that a window manager keeps it above it.
    void windowShown(bool showConsole);
    // Before the window closes: where the console was, for the next run.
    void saveConsoleGeometry();
    void connectView();
    void manageMaterials();
    // Opens "Batch Run" modally without a volume; with a file name it opens that process list.
    void runProcesses(const QString &fileName);
    void editCompatibleMaterials();

    Model::Scene &scene() { return model.scene(); }
    MainWindow *window() const { return mainWindow; }
    Core::Operations::SelectionMode &selectionMode() { return model.selectionMode(); }
    Core::ApplicationModel &applicationModel() { return model; }
    Console::CommandConsole &commandConsole() { return console; }

public slots:
    void undoStackChanged();
    void redoStackChanged();
    void operationActivated(const QString &operationId);
    void enterPressed();
    void cancelPressed();

private:
    void placeConsole();
    void postLine(const std::string &line);
    // A line for the console, then the status bar: a running operation's line is its prompt.
    void messagePosted(const QString &message);
    // Runs the window's Save; true when the document was written.
    bool save();

    MainWindow *mainWindow;
    Core::ApplicationModel model;
    Console::CommandConsole console;
    std::shared_ptr<Observers::UndoRedoObserver> undoObserver;
    std::shared_ptr<Observers::UndoRedoObserver> redoObserver;
    std::shared_ptr<Console::ConsoleObserver> promptObserver;
    std::shared_ptr<Util::IObserver> endObserver;
};

} // namespace Ui
