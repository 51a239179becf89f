#include "MainWindow.h"

#include "AboutWindow.h"
#include "ColorsDialog.h"
#include "GLWidget.h"
#include "Core/Operations/Document/DocumentFiles.h"
#include "GridSpacingDialog.h"
#include "FileDialogTexts.h"
#include "LastFolders.h"
#include "MainWindowActions.h"
#include "MainWindowPresenter.h"
#include "Observers/DocumentSavedObserver.h"
#include "Observers/SelectionModeObserver.h"
#include "OperationMapper.h"
#include "UserSettings.h"
#include "ViewDialog.h"
#include "VolumeExport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

namespace Ui {

namespace {

constexpr int kStatusMessageTime = 5000; // ms
constexpr int kInitialAngleX = -60;      // degrees
constexpr int kInitialAngleZ = 30;
const char *const kWindowSettingsName = "MainWindow";
const char *const kSelectPrompt = "Select: click volumes in the view to select them; click again to deselect.";

struct NamedView {
    const char *name;
    int ax, ay, az; // degrees
};
const NamedView kNamedViews[] = {
    {"front", -90, 0, 0},   {"back", -90, 0, 180}, {"left", -90, 0, 90},
    {"right", -90, 0, -90}, {"top", 0, 0, 0},      {"bottom", 180, 0, 0},
};

QString number(float value)
{
    return QString::number(double(value), 'g', 6);
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindowForm"));
    createActions();
    createMenus();
    prompt = new QLabel(this);
    prompt->setObjectName(QStringLiteral("lblOperationPrompt"));
    statusBar()->addWidget(prompt, 1);
    retranslate();

    windowPresenter = std::make_unique<MainWindowPresenter>(this);
    operationMapper = new OperationMapper(this);
    connect(operationMapper, &OperationMapper::activated, windowPresenter.get(),
            &MainWindowPresenter::operationActivated);
    viewMapper = new OperationMapper(this);
    connect(viewMapper, &OperationMapper::activated, this, &MainWindow::setView);

    glView = new GLWidget(this, windowPresenter.get());
    glView->setObjectName(QStringLiteral("centralView"));
    setCentralWidget(glView);
    glView->setRotation(kInitialAngleX, 0, kInitialAngleZ);
    UserSettings::loadView(*glView);
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
    connectView();
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
    connect(action("actionOpen_Process_List"), &QAction::triggered, this,
            &MainWindow::on_actionOpen_Process_List_triggered);
    connect(action("actionNew_Process_List"), &QAction::triggered, this,
            &MainWindow::on_actionNew_Process_List_triggered);

    connect(action("actionLighting"), &QAction::toggled, this, &MainWindow::lightingToggled);
    connect(action("actionRender_Objects"), &QAction::toggled, this, &MainWindow::renderObjectsToggled);
    connect(action("actionRender_Object_Edges"), &QAction::toggled, this, &MainWindow::renderObjectEdgesToggled);
    connect(action("actionGrid"), &QAction::toggled, this, &MainWindow::renderGridToggled);
    connect(action("actionSnap_to_Grid"), &QAction::toggled, this, &MainWindow::snapToGridToggled);
    connect(action("actionShow_Axis"), &QAction::toggled, this, &MainWindow::on_actionShow_Axis_toggled);
    connect(action("actionShow_Lights"), &QAction::toggled, this, &MainWindow::on_actionShow_Lights_toggled);
    connect(action("actionGrid_Spacing"), &QAction::triggered, this, &MainWindow::changeGridSpacing);
    connect(action("actionConfigure_Window_Colors"), &QAction::triggered, this, &MainWindow::changeWindowColors);
    connect(action("actionSet_View"), &QAction::triggered, this, &MainWindow::on_actionSet_View_triggered);
    connect(action("actionSet_Lighting"), &QAction::triggered, this, &MainWindow::on_actionSet_Lighting_triggered);
    connect(action("actionSave_Image"), &QAction::triggered, this, [this] { saveImage(QString()); });
    connect(action("actionExport_VTK"), &QAction::triggered, this, [this] { VolumeExport::exportVtk(this, presenter().scene()); });
    connect(action("actionExport_STL"), &QAction::triggered, this, [this] { VolumeExport::exportStl(this, presenter().scene()); });
}

void MainWindow::connectView()
{
    connect(glView, &GLWidget::axisPositionChanged, this, &MainWindow::changeAxisPositionValue_staturBar);
    connect(glView, &GLWidget::viewPositionChanged, this, &MainWindow::changeViewPostionValue_statusBar);
    connect(glView, &GLWidget::rotationChanged, this, &MainWindow::changeRotationValue_statusBar);
    connect(glView, &GLWidget::zoomChanged, this, &MainWindow::changeZoomValue_statusBar);
    connect(glView, &GLWidget::lampPositionChanged, this, &MainWindow::changeLampPosition_statusBar);
}

void MainWindow::retranslate()
{
    setWindowTitle(QLatin1String(kProgramName));
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (windowPresenter && !windowPresenter->settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    UserSettings::saveGeometry(QLatin1String(kWindowSettingsName), *this);
    UserSettings::saveView(*glView);
    windowPresenter->saveConsoleGeometry();
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shownBefore)
        return;
    shownBefore = true;
    if (QWindow *handle = windowHandle())
        handle->installEventFilter(this);
}

// The console comes up once this window is on the screen: a window manager takes the console
// for a tool window of this one (and keeps it above) only when this one is already its client.
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            windowPresenter->windowShown(action(QStringLiteral("actionConsole"))->isChecked());
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent *event)
{
    // A modal dialog over this window (or its end) repaints the view, so that it never shows
    // a frame left over from before the dialog.
    if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)
        glView->update();
    return QMainWindow::event(event);
}

bool MainWindow::loadDocument(const QString &path)
{
    Core::ApplicationModel &model = windowPresenter->applicationModel();
    if (!Core::Operations::readDocument(model, path, &Observers::DocumentSavedObserver::showFailure))
        return false;
    model.markUnmodified();
    setWindowTitle(QLatin1String(Observers::DocumentSavedObserver::kTitlePrefix) + model.scene().documentName());
    return true;
}

void MainWindow::showAsLeft()
{
    if (UserSettings::restoreGeometry(QLatin1String(kWindowSettingsName), *this)) {
        show();
        return;
    }
    // Without a window manager a maximize request is not honoured; start at full size anyway.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
}

QList<MainWindow *> MainWindow::windowsForDocuments(const QStringList &paths)
{
    QList<MainWindow *> windows;
    for (const QString &path : paths) {
        auto *window = new MainWindow();
        if (window->loadDocument(path))
            windows << window;
        else
            delete window; // the reason was shown
    }
    if (windows.isEmpty())
        windows << new MainWindow();
    return windows;
}

void MainWindow::showOperationMessage(const QString &message, bool operationRunning)
{
    if (!operationRunning) {
        showStatus(message);
        return;
    }
    // A console line is the operation's name, a colon and a space, and the text.
    const int separator = message.indexOf(QStringLiteral(": "));
    operationLine = message;
    operationPrompt = separator < 0 ? message : message.mid(separator + 2);
    refreshPrompt();
}

void MainWindow::operationEnded()
{
    if (operationLine.isEmpty())
        return;
    showStatus(operationLine);
    operationLine.clear();
    operationPrompt.clear();
    refreshPrompt();
}

void MainWindow::refreshPrompt()
{
    if (!operationPrompt.isEmpty())
        prompt->setText(operationPrompt);
    else if (windowPresenter && windowPresenter->selectionMode().isSelectionMode())
        prompt->setText(QLatin1String(kSelectPrompt));
    else
        prompt->clear();
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
    refreshPrompt();
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

void MainWindow::on_actionOpen_Process_List_triggered()
{
    const QString name = QFileDialog::getOpenFileName(this, FileDialogTexts::processListCaption(),
                                                      lastFolder(FileKind::ProcessLists),
                                                      FileDialogTexts::processListFilter());
    rememberFolder(FileKind::ProcessLists, name);
    windowPresenter->runProcesses(name);
}

void MainWindow::on_actionNew_Process_List_triggered()
{
    windowPresenter->runProcesses(QString());
}

void MainWindow::setView(QString viewAngle)
{
    for (const NamedView &named : kNamedViews) {
        if (viewAngle == QLatin1String(named.name)) {
            glView->setRotation(named.ax, named.ay, named.az);
            glView->frameVolumes();
            return;
        }
    }
}

void MainWindow::lightingToggled(bool on)
{
    glView->setLighting(on);
}

void MainWindow::renderObjectsToggled(bool on)
{
    glView->setDrawFaces(on);
}

void MainWindow::renderObjectEdgesToggled(bool on)
{
    glView->setDrawOutlines(on);
}

void MainWindow::renderGridToggled(bool on)
{
    glView->setShowGrid(on);
}

void MainWindow::snapToGridToggled(bool on)
{
    glView->setSnapToGrid(on);
}

void MainWindow::on_actionShow_Axis_toggled(bool on)
{
    glView->setShowAxes(on);
}

void MainWindow::on_actionShow_Lights_toggled(bool on)
{
    glView->setShowLamps(on);
}

void MainWindow::changeGridSpacing()
{
    GridSpacingDialog dialog(glView->gridSpacing(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    glView->setGridSpacing(dialog.spacing());
    UserSettings::saveView(*glView);
}

void MainWindow::changeWindowColors()
{
    ColorsDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.applyToTable();
    UserSettings::saveColors();
    windowPresenter->commandConsole().applyColors();
    glView->update();
}

void MainWindow::openViewDialog(int page)
{
    ViewDialog dialog(*glView, ViewDialog::Page(page), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.applyTo(*glView);
    UserSettings::saveView(*glView);
}

void MainWindow::on_actionSet_View_triggered()
{
    openViewDialog(ViewDialog::ViewPage);
}

void MainWindow::on_actionSet_Lighting_triggered()
{
    openViewDialog(ViewDialog::LightingPage);
}

bool MainWindow::saveImage(QString filename)
{
    if (filename.isEmpty()) {
        filename = QFileDialog::getSaveFileName(this, QStringLiteral("Save Screen Image"), lastFolder(FileKind::Images),
                                                QStringLiteral("Images (*.png *.xpm *.jpg)"));
        if (filename.isEmpty())
            return false;
    }
    const QImage image = glView->renderedImage();
    const QFileInfo file(filename);
    const bool saved = !image.isNull() && image.save(filename, file.suffix().isEmpty() ? "PNG" : nullptr);
    if (!saved) {
        qWarning() << __FILE__ << Q_FUNC_INFO << "could not save the view as" << filename;
        return false;
    }
    rememberFolder(FileKind::Images, file.absoluteFilePath());
    return true;
}

void MainWindow::repaintCentralWidget()
{
    glView->update();
}

void MainWindow::showStatus(const QString &message)
{
    statusBar()->showMessage(message, kStatusMessageTime);
}

void MainWindow::changeAxisPositionValue_staturBar(std::vector<float> t)
{
    if (t.size() < 3)
        return;
    showStatus(QStringLiteral("Volume position in relation to the axes: X = ") + number(t[0]) +
               QStringLiteral(" Y = ") + number(t[1]) + QStringLiteral(" Z = ") + number(t[2]));
}

void MainWindow::changeViewPostionValue_statusBar(std::vector<float> p)
{
    if (p.size() < 2)
        return;
    showStatus(QStringLiteral("Volume position in relation to the screen: X = ") + number(p[0]) +
               QStringLiteral(" Y = ") + number(p[1]));
}

void MainWindow::changeRotationValue_statusBar(std::vector<float> a)
{
    if (a.size() < 3)
        return;
    showStatus(QStringLiteral("Rotation angles: X Axis = ") + number(a[0]) + QStringLiteral(" Y Axis = ") +
               number(a[1]) + QStringLiteral(" Z axis = ") + number(a[2]));
}

void MainWindow::changeZoomValue_statusBar(float percent)
{
    showStatus(QStringLiteral("Zoom = ") + number(percent) + QStringLiteral("%"));
}

void MainWindow::changeLampPosition_statusBar(std::vector<float> lamp)
{
    if (lamp.size() < 4)
        return;
    showStatus(QStringLiteral("Lamp ") + QString::number(int(lamp[0])) + QStringLiteral(" Position : Radius = ") +
               number(lamp[1]) + QString::fromUtf8(" Angle θ = ") + number(lamp[2]) +
               QString::fromUtf8(" Angle φ = ") + number(lamp[3]));
}

} // namespace Ui
