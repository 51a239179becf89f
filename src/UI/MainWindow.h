#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>
#include <vector>

class QAction;
class QLabel;

namespace Ui {

class GLWidget;
class MainWindowPresenter;
class OperationMapper;

// The program's top-level window: menus, the view in the centre, the status bar. It owns the
// presenter, through which every action that starts an operation becomes an operation id.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The title of a window without a document, and the title of its questions.
    static constexpr const char *kProgramName = "Voxfab";

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    MainWindowPresenter &presenter() { return *windowPresenter; }
    GLWidget *view() const { return glView; }

    // "Undo <name>" / "Redo <name>", enabled exactly when the name is not empty.
    void setUndoText(const QString &name);
    void setRedoText(const QString &name);

    // An action by its object name ("actionUndo", "actionSave_As", ...).
    QAction *action(const QString &objectName) const;

    // Reads the document at `path` into this window's (empty) model and titles the window
    // after it. A file that cannot be read is reported in a message box; false then.
    bool loadDocument(const QString &path);
    // Shows the window where the user left the last one (maximized the first time).
    void showAsLeft();
    // The windows of a start with these documents on the command line: one per readable
    // document, or one empty window when none could be read (or none was given). Not shown.
    static QList<MainWindow *> windowsForDocuments(const QStringList &paths);

    // A message of the model for the status bar. The running operation's latest message is its
    // prompt and stays in the status bar (without the operation's name) until the operation
    // ends; any other message shows there for a while.
    void showOperationMessage(const QString &message, bool operationRunning);
    // The running operation ended: its prompt leaves the status bar, its last line shows a while.
    void operationEnded();
    QLabel *promptLabel() const { return prompt; }

public slots:
    void showConsole(bool show);
    void undoOperation();
    void redoOperation();
    void selectionToggled(bool checked);
    void showAboutInfo();
    void on_actionNew_triggered();
    void on_actionManage_Materials_triggered();
    void on_actionManage_Compatible_Materials_triggered();
    void on_actionOpen_Process_List_triggered();
    void on_actionNew_Process_List_triggered();

    // Rotation angles of the named views: "front", "back", "left", "right", "top", "bottom";
    // any other name ("manual" included) leaves the view as it is.
    void setView(QString viewAngle);
    void lightingToggled(bool on);
    void renderObjectsToggled(bool on);
    void renderObjectEdgesToggled(bool on);
    void renderGridToggled(bool on);
    void snapToGridToggled(bool on);
    void on_actionShow_Axis_toggled(bool on);
    void on_actionShow_Lights_toggled(bool on);
    void changeGridSpacing();
    void changeWindowColors();
    void on_actionSet_View_triggered();
    void on_actionSet_Lighting_triggered();
    // Saves the view's frame under `filename` (format from its extension, PNG without one);
    // an empty name asks for one. True when an image was written.
    bool saveImage(QString filename);
    void repaintCentralWidget();

    void changeAxisPositionValue_staturBar(std::vector<float> translation);
    void changeViewPostionValue_statusBar(std::vector<float> position);
    void changeRotationValue_statusBar(std::vector<float> angles);
    void changeZoomValue_statusBar(float percent);
    void changeLampPosition_statusBar(std::vector<float> lamp);

protected:
    void changeEvent(QEvent *event) override;
    // Exit, Ctrl+Q and the window's close button: unsaved changes are settled first, and the
    // window stays open when the user cancels or the save does not succeed.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void connectActions();
    void retranslate();
    void connectView();
    void openViewDialog(int page);
    void showStatus(const QString &message);
    // The running operation's prompt, or what selection mode asks for, or nothing.
    void refreshPrompt();

    std::unique_ptr<MainWindowPresenter> windowPresenter;
    OperationMapper *operationMapper = nullptr;
    OperationMapper *viewMapper = nullptr;
    GLWidget *glView = nullptr;
    QLabel *prompt = nullptr;
    QString operationPrompt;  // without the operation's name
    QString operationLine;    // the whole console line
    bool shownBefore = false;
};

} // namespace Ui
