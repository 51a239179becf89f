#include "MainWindow.h"

#include "AboutWindow.h"
#include "MainWindowActions.h"
#include "MainWindowPresenter.h"
#include "Observers/SelectionModeObserver.h"
#include "OperationMapper.h"
#include "PlaceholderView.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
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
    viewMapper = new OperationMapper(this);

    auto *view = new PlaceholderView(this);
    view->setObjectName(QStringLiteral("centralView"));
    setCentralWidget(view);
    windowPresenter->connectView();
    connectActions();

    auto *returnKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
    auto *enterKey = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    auto *escapeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(returnKey, &QShortcut::activated, windowPresenter.get(), &MainWindowPresenter::enterPressed);
    connect(enterKey, &QShortcut::activated, windowPresenter.get(), &MainWindowPresenter::enterPressed);
    connect(escapeKey, &QShortcut::activated, windowPresenter.get(), &MainWindowPresenter::cancelPressed);
    windowPresenter->selectionMode().addObserver(
        std::make_shared<Observers::SelectionModeObserver>(action("actionSelect"), &windowPresenter->selectionMode()));

    setAttribute(Qt::WA_DeleteOnClose);
}

MainWindow::~MainWindow()
{
    // The presenter (and with it the model and the console) goes before the widgets.
    windowPresenter.reset();
}

QAction *MainWindow::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName, Qt::FindDirectChildrenOnly);
}

void MainWindow::createActions()
{
    for (int i = 0; i < kMainWindowActionCount; ++i) {
        const ActionSpec &spec = kMainWindowActions[i];
        auto *a = new QAction(this);
        a->setObjectName(QString::fromLatin1(spec.objectName));
        if (*spec.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
        switch (spec.kind) {
        case ActionKind::Checked:
            a->setCheckable(true);
            a->setChecked(true);
            break;
        case ActionKind::Unchecked:
            a->setCheckable(true);
            break;
        case ActionKind::Disabled:
            a->setEnabled(false);
            break;
        case ActionKind::Plain:
            break;
        }
    }
}

void MainWindow::createMenus()
{
    for (int m = 0; m < kMainWindowMenuCount; ++m) {
        const MenuSpec &spec = kMainWindowMenus[m];
        QMenu *menu = menuBar()->addMenu(QString());
        menu->setObjectName(QString::fromLatin1(spec.objectName));
        for (const char *const *item = spec.items; !(*item && **item == '\0'); ++item) {
            if (*item)
                menu->addAction(action(QString::fromLatin1(*item)));
            else
                menu->addSeparator();
        }
    }
}

void MainWindow::connectActions()
{
    for (int i = 0; i < kMainWindowActionCount; ++i) {
        const ActionSpec &spec = kMainWindowActions[i];
        if (spec.operationId != 0)
            operationMapper->map(action(QString::fromLatin1(spec.objectName)), spec.operationId);
        if (spec.view)
            viewMapper->map(action(QString::fromLatin1(spec.objectName)), QString::fromLatin1(spec.view));
    }
    connect(action("actionExit"), &QAction::triggered, this, &MainWindow::close);
    connect(action("actionConsole"), &QAction::toggled, this, &MainWindow::showConsole);
    connect(action("actionUndo"), &QAction::triggered, this, &MainWindow::undoOperation);
    connect(action("actionRedo"), &QAction::triggered, this, &MainWindow::redoOperation);
    connect(action("actionSelect"), &QAction::toggled, this, &MainWindow::selectionToggled);
    connect(action("actionAbout_Voxfab"), &QAction::triggered, this, &MainWindow::showAboutInfo);
    connect(action("actionNew"), &QAction::triggered, this, &MainWindow::on_actionNew_triggered);
    connect(action("actionManage_Materials"), &QAction::triggered, this,
            &MainWindow::on_actionManage_Materials_triggered);
    connect(action("actionManage_Compatible_Materials"), &QAction::triggered, this,
            &MainWindow::on_actionManage_Compatible_Materials_triggered);
}

void MainWindow::retranslate()
{
    setWindowTitle(QStringLiteral("Voxfab"));
    for (int i = 0; i < kMainWindowActionCount; ++i) {
        const ActionSpec &spec = kMainWindowActions[i];
        QAction *a = action(QString::fromLatin1(spec.objectName));
        a->setText(QString::fromUtf8(spec.text));
        if (*spec.statusTip)
            a->setStatusTip(QString::fromUtf8(spec.statusTip));
        if (*spec.toolTip)
            a->setToolTip(QString::fromUtf8(spec.toolTip));
    }
    for (int m = 0; m < kMainWindowMenuCount; ++m) {
        if (auto *menu = findChild<QMenu *>(QString::fromLatin1(kMainWindowMenus[m].objectName)))
            menu->setTitle(QString::fromUtf8(kMainWindowMenus[m].title));
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && windowPresenter) {
        retranslate();
        windowPresenter->undoStackChanged();
        windowPresenter->redoStackChanged();
    }
}

void MainWindow::setUndoText(const QString &name)
{
    QAction *undo = action(QStringLiteral("actionUndo"));
    undo->setText(QStringLiteral("Undo ") + name);
    undo->setEnabled(!name.isEmpty());
}

void MainWindow::setRedoText(const QString &name)
{
    QAction *redo = action(QStringLiteral("actionRedo"));
    redo->setText(QStringLiteral("Redo ") + name);
    redo->setEnabled(!name.isEmpty());
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

void MainWindow::selectionToggled(bool checked)
{
    windowPresenter->setSelectionMode(checked);
}

void MainWindow::showAboutInfo()
{
    AboutWindow about(this);
    about.exec();
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
