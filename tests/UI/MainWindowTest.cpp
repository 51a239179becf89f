#include "UiTestSupport.h"

#include "Core/Operations/Document/DocumentFiles.h"
#include "UI/ColorsDialog.h"
#include "UI/GLWidget.h"
#include "common/Cells.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <cmath>

using namespace UiTest;
using TestSupport::flatVolume;

TEST(MainWindow, UndoAndRedoLabelsFollowTheStacks)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    QAction *undo = window->action("actionUndo");
    QAction *redo = window->action("actionRedo");

    model.startOperation(std::make_shared<FakeStep>(&model, "Create Substrate"));
    EXPECT_EQ(undo->text(), "Undo Create Substrate");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    undo->trigger();
    EXPECT_EQ(undo->text(), "Undo ");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "Redo Create Substrate");
    EXPECT_TRUE(redo->isEnabled());

    redo->trigger();
    EXPECT_EQ(undo->text(), "Undo Create Substrate");
    EXPECT_FALSE(redo->isEnabled());
    // Each says what it acted on, on the console and in the status bar; nothing left to redo
    // adds no line.
    EXPECT_TRUE(consoleText(*window).endsWith("Undo: Create Substrate.\nRedo: Create Substrate."))
        << consoleText(*window).toStdString();
    EXPECT_EQ(window->statusBar()->currentMessage(), "Redo: Create Substrate.");
    const QString before = consoleText(*window);
    window->presenter().redo();
    EXPECT_EQ(consoleText(*window), before);

    // A new finished operation empties the redo stack.
    undo->trigger();
    model.startOperation(std::make_shared<FakeStep>(&model, "Move Objects"));
    EXPECT_EQ(undo->text(), "Undo Move Objects");
    EXPECT_EQ(redo->text(), "Redo ");
    EXPECT_FALSE(redo->isEnabled());
}

TEST(MainWindow, EscapeCancelsAndReturnOrEnterResume)
{
    auto window = makeWindow();
    window->show();
    QApplication::setActiveWindow(window.get());
    auto &model = window->presenter().applicationModel();

    auto waiting = std::make_shared<FakeStep>(&model, "Step", true);
    model.startOperation(waiting);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(waiting->cancels, 1);
    EXPECT_EQ(model.currentOperation(), nullptr);

    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto step = std::make_shared<FakeStep>(&model, "Step", true);
        model.startOperation(step);
        const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(window.get(), key, modifiers);
        EXPECT_EQ(step->executions, 2) << "key " << key;
        EXPECT_EQ(model.undoRedo().undoName(), "Step");
    }
}

TEST(MainWindow, NewOnAnUnchangedDocumentAsksOnlyWhetherToErase)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    model.scene().addObject(flatVolume(4, 4, 2, 2, 1));
    model.scene().setDocumentName("wafer.vxf");
    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        const auto asked = answerNextBox(button);
        window->action("actionNew")->trigger();
        EXPECT_EQ(asked->title + " / " + asked->text, "Create new document / This will erase all data. Continue?");
        EXPECT_EQ(model.scene().objects().size(), button == QMessageBox::Ok ? 0 : 1);
    }
    EXPECT_TRUE(model.scene().documentName().isEmpty());
}

TEST(MainWindow, UnknownOperationIdOnlyCancelsTheRunningOperation)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    auto waiting = std::make_shared<FakeStep>(&model, "Step", true);
    model.startOperation(waiting);

    for (const char *id : {"0", "5", "21", "999", "1001", "not a number"})
        window->presenter().operationActivated(id);

    EXPECT_EQ(waiting->cancels, 1);
    EXPECT_EQ(model.currentOperation(), nullptr);
    // The cancel says so; the ids themselves add no line.
    EXPECT_TRUE(consoleText(*window).endsWith("Step: Operation canceled.")) << consoleText(*window).toStdString();
}

TEST(MainWindow, NamedViewsTurnTheViewAndManualLeavesIt)
{
    auto window = makeWindow();
    Ui::GLWidget *view = window->view();
    ASSERT_TRUE(view);
    EXPECT_EQ(window->centralWidget(), view);

    const struct {
        const char *action;
        QVector3D angles;
    } views[] = {
        {"actionFront_View", {-90, 0, 0}}, {"actionBack_View", {-90, 0, 180}}, {"actionLeft_View", {-90, 0, 90}},
        {"actionRight_View", {-90, 0, -90}}, {"actionTop_View", {0, 0, 0}},    {"actionBottom_View", {180, 0, 0}},
    };
    for (const auto &named : views) {
        window->action(named.action)->trigger();
        EXPECT_EQ(view->rotationAngles(), named.angles) << named.action;
    }
    EXPECT_EQ(window->statusBar()->currentMessage(), "Rotation angles: X Axis = 180 Y Axis = 0 Z axis = 0");

    window->action("actionManual_View")->trigger();
    window->setView("sideways");
    EXPECT_EQ(view->rotationAngles(), QVector3D(180, 0, 0));
}

TEST(MainWindow, RenderingActionsSwitchTheView)
{
    auto window = makeWindow();
    Ui::GLWidget *view = window->view();
    EXPECT_TRUE(view->drawFaces() && view->lighting() && view->showAxes());
    EXPECT_FALSE(view->drawOutlines() || view->showGrid() || view->snapToGrid() || view->showLamps());

    for (const char *name : {"actionRender_Objects", "actionLighting", "actionRender_Object_Edges", "actionGrid",
                             "actionSnap_to_Grid", "actionShow_Axis", "actionShow_Lights"})
        window->action(name)->trigger();
    EXPECT_FALSE(view->drawFaces() || view->lighting() || view->showAxes());
    EXPECT_TRUE(view->drawOutlines() && view->showGrid() && view->snapToGrid() && view->showLamps());

    // The select action and the selection mode follow each other.
    auto &mode = window->presenter().selectionMode();
    window->action("actionSelect")->trigger();
    EXPECT_TRUE(mode.isSelectionMode());
    mode.setSelectionMode(false);
    EXPECT_FALSE(window->action("actionSelect")->isChecked());
}

TEST(MainWindow, ViewDialogAppliesItsValuesOnOk)
{
    auto window = makeWindow();
    Ui::GLWidget *view = window->view();
    TestSupport::answerNextModal([](QWidget *modal) {
        EXPECT_EQ(modal->windowTitle(), "Set vew and lighting");
        EXPECT_EQ(child<QTabWidget>(*modal, "tabPages")->currentIndex(), 0);
        EXPECT_EQ(child<QSpinBox>(*modal, "sbxRotationX")->value(), -60);
        fill(*modal, {{"dbxDistanceZ", 7.5}, {"sbxRotationY", 15}, {"dbxPositionX", -3.0}, {"dbxZoom", 4.0}});
        pressOk(*modal);
    });
    window->action("actionSet_View")->trigger();
    EXPECT_EQ(view->axisTranslation(), QVector3D(0, 0, 7.5f));
    EXPECT_EQ(view->rotationAngles(), QVector3D(-60, 15, 30));
    EXPECT_EQ(view->screenPosition(), QPointF(-3.0, 0.0));
    EXPECT_FLOAT_EQ(view->zoom(), 0.25f);

    // Lighting page: a second lamp at radius 100, and the first one switched off.
    TestSupport::answerNextModal([](QWidget *modal) {
        EXPECT_EQ(child<QTabWidget>(*modal, "tabPages")->currentIndex(), 1);
        EXPECT_NEAR(child<QDoubleSpinBox>(*modal, "dbxLampTheta")->value(), 60.0, 1e-3);
        set(*modal, "chkLampEnabled", 0);
        child<QPushButton>(*modal, "btnAddLamp")->click();
        EXPECT_EQ(child<QComboBox>(*modal, "cbxLamp")->currentIndex(), 1);
        fill(*modal, {{"dbxLampRadius", 100.0}, {"dbxLampPhi", 30.0}});
        pressOk(*modal);
    });
    window->action("actionSet_Lighting")->trigger();
    ASSERT_EQ(view->lampCount(), 2);
    EXPECT_FALSE(view->isLampEnabled(1));
    EXPECT_TRUE(view->isLampEnabled(2));
    EXPECT_FLOAT_EQ(view->lamp(1).radius, 300.0f);
    EXPECT_FLOAT_EQ(view->lamp(2).radius, 100.0f);
    EXPECT_NEAR(view->lamp(2).phi, std::acos(-1.0) / 6.0, 1e-6);
    // Lamp 2 at θ 0, φ 30°: x = r cos φ, z = r sin φ.
    EXPECT_NEAR(view->lamp(2).position[0], 100.0 * std::sqrt(3.0) / 2.0, 1e-3);
    EXPECT_NEAR(view->lamp(2).position[2], 50.0, 1e-3);

    // Cancel changes nothing.
    TestSupport::pressOnNextModal(QDialogButtonBox::Cancel);
    window->action("actionSet_View")->trigger();
    EXPECT_FLOAT_EQ(view->zoom(), 0.25f);

    fillNextModal({{"dbxGridSpacing", 25.0}});
    window->action("actionGrid_Spacing")->trigger();
    EXPECT_DOUBLE_EQ(view->gridSpacing(), 25.0);
}

TEST(MainWindow, ColourSchemesAndHandPickedColours)
{
    auto &table = Model::ColorTable::instance();
    auto window = makeWindow();
    TestSupport::answerNextModal([](QWidget *modal) {
        EXPECT_EQ(modal->windowTitle(), "Change Default Colors");
        child<QPushButton>(*modal, "btnLoadLowColorScheme")->click();
        pressOk(*modal);
    });
    window->action("actionConfigure_Window_Colors")->trigger();
    EXPECT_EQ(table.currentSet(), Model::ColorTable::kLowColorSet);
    EXPECT_EQ(table.color(Model::ColorTable::BackgroundColor, Model::ColorTable::kCustomSet),
              Util::Vector4D(1, 1, 1, 0));
    EXPECT_EQ(table.color(Model::ColorTable::ObjectColor, Model::ColorTable::kCustomSet), Util::Vector4D(1, 1, 1, 1));
    const QPalette console = window->presenter().commandConsole().output()->palette();
    EXPECT_EQ(console.color(QPalette::Base), QColor(Qt::black));

    // A colour picked by hand makes the custom set current.
    Ui::ColorsDialog dialog(window.get());
    EXPECT_EQ(dialog.chosenSet(), Model::ColorTable::kLowColorSet);
    dialog.setFieldColor(Model::ColorTable::GridColor, Util::Vector4D(0.5, 0.25, 0, 1));
    dialog.applyToTable();
    EXPECT_EQ(table.currentSet(), Model::ColorTable::kCustomSet);
    EXPECT_EQ(table.color(Model::ColorTable::GridColor), Util::Vector4D(0.5, 0.25, 0, 1));
    EXPECT_EQ(table.color(Model::ColorTable::BackgroundColor), Util::Vector4D(1, 1, 1, 0));
    table.restoreDefaults();
}

TEST(MainWindow, ConsoleIsAToolWindowOfItsMainWindowThatShowsTheNewestLine)
{
    auto window = makeWindow();
    auto &console = window->presenter().commandConsole();
    EXPECT_FALSE(console.isVisible()) << "no console before its window is on the screen";
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return console.isVisible(); }, 5000));

    EXPECT_EQ(console.parentWidget(), window.get());
    EXPECT_EQ(console.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    ASSERT_TRUE(console.windowHandle());
    EXPECT_EQ(console.windowHandle()->transientParent(), window->windowHandle());

    // The console action hides and shows it; shown again, it shows the newest line.
    QScrollBar *bar = console.output()->verticalScrollBar();
    window->action("actionConsole")->trigger();
    EXPECT_FALSE(console.isVisible());
    for (int i = 0; i < 60; ++i)
        console.writeMessage(QStringLiteral("Line %1").arg(i));
    bar->setValue(0);
    window->action("actionConsole")->trigger();
    ASSERT_TRUE(console.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); }, 5000))
        << bar->value() << " of " << bar->maximum();
}

TEST(MainWindow, StatusBarCarriesThePromptUntilTheOperationEnds)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    QLabel *prompt = window->promptLabel();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->objectName(), "lblOperationPrompt");
    EXPECT_TRUE(prompt->text().isEmpty());

    // The name's prefix goes; a colon inside the text stays.
    model.startOperation(std::make_shared<FakeStep>(&model, "Move", true, "Click a volume: then press Enter."));
    EXPECT_EQ(prompt->text(), "Click a volume: then press Enter.");
    window->presenter().cancelPressed();
    EXPECT_TRUE(prompt->text().isEmpty());
    EXPECT_EQ(window->statusBar()->currentMessage(), "Move: Operation canceled.");

    // Finished through Enter: the prompt goes too.
    model.startOperation(std::make_shared<FakeStep>(&model, "Copy", true, "Click a volume: then press Enter."));
    EXPECT_FALSE(prompt->text().isEmpty());
    window->presenter().enterPressed();
    EXPECT_TRUE(prompt->text().isEmpty());
    EXPECT_EQ(window->statusBar()->currentMessage(), "Copy: Operation finished.");

    // Selection mode without an operation says what a click does.
    window->action("actionSelect")->trigger();
    EXPECT_FALSE(prompt->text().isEmpty());
    window->action("actionSelect")->trigger();
    EXPECT_TRUE(prompt->text().isEmpty());
}

TEST(MainWindow, EveryMenuOpensWithItsOwnAltLetter)
{
    auto window = makeWindow();
    QSet<QString> letters;
    for (QAction *menu : window->menuBar()->actions()) {
        const QString title = menu->text();
        const int mark = title.indexOf(QLatin1Char('&'));
        ASSERT_GE(mark, 0) << title.toStdString();
        EXPECT_EQ(QKeySequence::mnemonic(title), QKeySequence(Qt::ALT | title.at(mark + 1).toUpper().unicode()));
        letters << title.mid(mark + 1, 1).toUpper();
    }
    EXPECT_EQ(letters.size(), window->menuBar()->actions().size());
    EXPECT_EQ(window->menuBar()->actions().first()->text(), "&File");
}

TEST(MainWindow, CommandLineDocumentsOpenInWindowsOfTheirOwn)
{
    QTemporaryDir dir;
    const QString first = dir.filePath("first.vxf");
    const QString second = dir.filePath("second.vxf");
    const QString broken = dir.filePath("broken.vxf");
    {
        auto source = makeWindow();
        auto &model = source->presenter().applicationModel();
        model.scene().addObject(flatVolume(4, 4, 2, 2, 1));
        ASSERT_TRUE(Core::Operations::writeDocument(model, first, nullptr));
        model.scene().addObject(flatVolume(4, 4, 2, 2, 1));
        ASSERT_TRUE(Core::Operations::writeDocument(model, second, nullptr));
    }
    QFile garbage(broken);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly) && garbage.write("not a document") > 0);
    garbage.close();

    const auto asked = answerNextBox();
    QList<Ui::MainWindow *> windows = Ui::MainWindow::windowsForDocuments({first, broken, second});
    EXPECT_EQ(asked->title, "Error reading from file");
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->presenter().scene().objects().size(), 1);
    EXPECT_EQ(windows[1]->presenter().scene().objects().size(), 2);
    EXPECT_TRUE(windows[0]->windowTitle().endsWith("first.vxf"));
    EXPECT_FALSE(windows[0]->presenter().applicationModel().isModified());
    qDeleteAll(windows);

    // Nothing readable (or nothing given): one empty window.
    TestSupport::pressOnNextModal(QMessageBox::Ok);
    windows = Ui::MainWindow::windowsForDocuments({broken});
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->presenter().scene().objects().isEmpty());
    EXPECT_EQ(windows[0]->windowTitle(), "Voxfab");
    qDeleteAll(windows);
    windows = Ui::MainWindow::windowsForDocuments({});
    EXPECT_EQ(windows.size(), 1);
    qDeleteAll(windows);
}
