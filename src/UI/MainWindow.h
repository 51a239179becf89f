#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

class QAction;

namespace Ui {

class MainWindowPresenter;
class OperationMapper;

// The program's top-level window: menus, the view in the centre, the status bar. It owns the
// presenter, through which every action that starts an operation becomes an operation id.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    MainWindowPresenter &presenter() { return *windowPresenter; }

    // "Undo <name>" / "Redo <name>", enabled exactly when the name is not empty.
    void setUndoText(const QString &name);
    void setRedoText(const QString &name);

    // An action by its object name ("actionUndo", "actionSave_As", ...).
    QAction *action(const QString &objectName) const;

public slots:
    void showConsole(bool show);
    void undoOperation();
    void redoOperation();
    void selectionToggled(bool checked);
    void showAboutInfo();
    void on_actionNew_triggered();
    void on_actionManage_Materials_triggered();
    void on_actionManage_Compatible_Materials_triggered();

protected:
    void changeEvent(QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void connectActions();
    void retranslate();

    std::unique_ptr<MainWindowPresenter> windowPresenter;
    OperationMapper *operationMapper = nullptr;
    OperationMapper *viewMapper = nullptr;
};

} // namespace Ui
