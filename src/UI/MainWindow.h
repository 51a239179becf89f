#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

class QAction;
class QMenu;

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

    // Actions by their object names ("actionUndo", ...), for menus and tests.
    QAction *action(const QString &objectName) const;

public slots:
    void showConsole(bool show);
    void undoOperation();
    void redoOperation();
    void on_actionNew_triggered();
    void on_actionManage_Materials_triggered();
    void on_actionManage_Compatible_Materials_triggered();

protected:
    void changeEvent(QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void retranslate();
    QAction *addAction(const char *objectName);

    std::unique_ptr<MainWindowPresenter> windowPresenter;
    OperationMapper *operationMapper = nullptr;
    QAction *actionNew = nullptr;
    QAction *actionExit = nullptr;
    QAction *actionUndo = nullptr;
    QAction *actionRedo = nullptr;
    QAction *actionManageMaterials = nullptr;
    QAction *actionManageCompatibleMaterials = nullptr;
    QAction *actionConsole = nullptr;
    QMenu *menuFile = nullptr;
    QMenu *menuEdit = nullptr;
    QMenu *menuMaterials = nullptr;
    QMenu *menuWindows = nullptr;
};

} // namespace Ui
