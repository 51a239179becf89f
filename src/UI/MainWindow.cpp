#include "MainWindow.h"

#include "MainWindowPresenter.h"
#include "OperationMapper.h"
#include "PlaceholderView.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>

namespace Ui {

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindowForm"));
    createActions();
    createMenus();
    statusBar();
    retranslate();

    windowPresenter = std::make_unique<MainWindowPresenter>(this);
    operationMapper = new OperationMapper(this);
    connect(operationMapper, &OperationMapper::activated, windowPresenter.get(),
            &MainWindowPresenter::operationActivated);

    auto *view = new PlaceholderView(this);
    view->setObjectName(QStringLiteral("centralView"));
    setCentralWidget(view);
    windowPresenter->connectView();

    auto *returnKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
    auto *enterKey = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    auto *escapeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(returnKey, &QShortcut::activated, windowPresenter.get(), &MainWindowPresenter::enterPressed);
    connect(enterKey, &QShortcut::activated, windowPresenter.get(), &MainWindowPresenter::enterPressed);
    connect(escapeKey, &QShortcut::activated, windowPresenter.get(), &MainWindowPresenter::cancelPressed);

    setAttribute(Qt::WA_DeleteOnClose);
}

MainWindow::~MainWindow()
{
    // The presenter (and with it the model and the console) goes before the widgets.
    windowPresenter.reset();
}

QAction *MainWindow::addAction(const char *objectName)
{
    auto *a = new QAction(this);
    a->setObjectName(QString::fromLatin1(objectName));
    return a;
}

QAction *MainWindow::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void MainWindow::createActions()
{
    actionNew = addAction("actionNew");
    actionNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    connect(actionNew, &QAction::triggered, this, &MainWindow::on_actionNew_triggered);

    actionExit = addAction("actionExit");
    actionExit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(actionExit, &QAction::triggered, this, &MainWindow::close);

    actionUndo = addAction("actionUndo");
    actionUndo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    actionUndo->setEnabled(false);
    connect(actionUndo, &QAction::triggered, this, &MainWindow::undoOperation);

    actionRedo = addAction("actionRedo");
    actionRedo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Y")));
    actionRedo->setEnabled(false);
    connect(actionRedo, &QAction::triggered, this, &MainWindow::redoOperation);

    actionManageMaterials = addAction("actionManage_Materials");
    connect(actionManageMaterials, &QAction::triggered, this, &MainWindow::on_actionManage_Materials_triggered);

    actionManageCompatibleMaterials = addAction("actionManage_Compatible_Materials");
    connect(actionManageCompatibleMaterials, &QAction::triggered, this,
            &MainWindow::on_actionManage_Compatible_Materials_triggered);

    actionConsole = addAction("actionConsole");
    actionConsole->setCheckable(true);
    actionConsole->setChecked(true);
    connect(actionConsole, &QAction::toggled, this, &MainWindow::showConsole);
}

void MainWindow::createMenus()
{
    menuFile = menuBar()->addMenu(QString());
    menuFile->setObjectName(QStringLiteral("menuFile"));
    menuFile->addAction(actionNew);
    menuFile->addSeparator();
    menuFile->addAction(actionExit);

    menuEdit = menuBar()->addMenu(QString());
    menuEdit->setObjectName(QStringLiteral("menuEdit"));
    menuEdit->addAction(actionUndo);
    menuEdit->addAction(actionRedo);

    menuMaterials = menuBar()->addMenu(QString());
    menuMaterials->setObjectName(QStringLiteral("menuMaterials"));
    menuMaterials->addAction(actionManageMaterials);
    menuMaterials->addAction(actionManageCompatibleMaterials);

    menuWindows = menuBar()->addMenu(QString());
    menuWindows->setObjectName(QStringLiteral("menuWindows"));
    menuWindows->addAction(actionConsole);
}

void MainWindow::retranslate()
{
    setWindowTitle(QStringLiteral("Voxfab"));
    actionNew->setText(QStringLiteral("New"));
    actionExit->setText(QStringLiteral("Exit"));
    actionExit->setToolTip(QStringLiteral("Exit Voxfab"));
    actionUndo->setText(QStringLiteral("Undo"));
    actionRedo->setText(QStringLiteral("Redo"));
    actionManageMaterials->setText(QStringLiteral("Manage Materials"));
    actionManageMaterials->setStatusTip(QStringLiteral("Edit material names, colors and properties."));
    actionManageCompatibleMaterials->setText(QStringLiteral("Manage Compatible Materials"));
    actionManageCompatibleMaterials->setStatusTip(
        QStringLiteral("Change what materials may be used with a certain process."));
    actionConsole->setText(QStringLiteral("Console"));
    actionConsole->setStatusTip(QStringLiteral("View the console window."));
    menuFile->setTitle(QStringLiteral("File"));
    menuEdit->setTitle(QStringLiteral("Edit"));
    menuMaterials->setTitle(QStringLiteral("Materials"));
    menuWindows->setTitle(QStringLiteral("Windows"));
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && actionNew) {
        retranslate();
        if (windowPresenter) {
            windowPresenter->undoStackChanged();
            windowPresenter->redoStackChanged();
        }
    }
}

void MainWindow::setUndoText(const QString &name)
{
    actionUndo->setText(QStringLiteral("Undo ") + name);
    actionUndo->setEnabled(!name.isEmpty());
}

void MainWindow::setRedoText(const QString &name)
{
    actionRedo->setText(QStringLiteral("Redo ") + name);
    actionRedo->setEnabled(!name.isEmpty());
}

void MainWindow::showConsole(bool show)
{
    windowPresenter->showConsole(show);
}

void MainWindow::undoOperation()
{
    windowPresenter->undo();
}

void MainWindow::redoOperation()
{
    windowPresenter->redo();
}

void MainWindow::on_actionNew_triggered()
{
    windowPresenter->newDocument();
}

void MainWindow::on_actionManage_Materials_triggered()
{
    windowPresenter->manageMaterials();
}

void MainWindow::on_actionManage_Compatible_Materials_triggered()
{
    windowPresenter->editCompatibleMaterials();
}

} // namespace Ui
