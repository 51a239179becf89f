#include "Core/Operations/ObjectOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "common/TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using Core::Operations::ObjectOperation;

namespace {

// An undoable operation that finishes as soon as it starts, or waits for Enter.
class FakeStep : public ObjectOperation {
public:
    FakeStep(Core::ApplicationModel *model, std::string name, bool waitForEnter = false)
        : ObjectOperation(model, std::move(name), 99), waitForEnter(waitForEnter)
    {
    }
    void execute() override
    {
        ++executions;
        if (waitForEnter && executions == 1) {
            model->inputRequest().requestEnter(this);
            return;
        }
        finish();
    }
    void cancel() override
    {
        ++cancels;
        cancelWithMessage();
    }
    void finish() override
    {
        postMessage("Operation finished.");
        model->operationFinished();
    }
    bool undo() override { return true; }
    bool redo() override { return true; }

    bool waitForEnter;
    int executions = 0;
    int cancels = 0;
};

std::unique_ptr<Ui::MainWindow> makeWindow()
{
    auto window = std::make_unique<Ui::MainWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false); // the test owns it
    return window;
}

QStringList menuTitles(Ui::MainWindow &window)
{
    QStringList titles;
    for (QAction *a : window.menuBar()->actions())
        titles << a->text();
    return titles;
}

} // namespace

TEST(MainWindow, StartsWithTitleMenusAndActionStates)
{
    auto window = makeWindow();
    EXPECT_EQ(window->windowTitle(), "Voxfab");
    EXPECT_EQ(menuTitles(*window), QStringList({"File", "Edit", "Simulation", "Materials", "Rendering", "View",
                                                "Windows", "About"}));

    QAction *undo = window->action("actionUndo");
    QAction *redo = window->action("actionRedo");
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->text(), "Undo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(redo->shortcut(), QKeySequence("Ctrl+Y"));
    EXPECT_EQ(window->action("actionNew")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(window->action("actionExit")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(window->action("actionExit")->toolTip(), "Exit Voxfab");

    QAction *console = window->action("actionConsole");
    EXPECT_TRUE(console->isCheckable());
    EXPECT_TRUE(console->isChecked());
    EXPECT_EQ(console->statusTip(), "View the console window.");
}

TEST(MainWindow, HasEveryActionWithItsTextsAndMenus)
{
    auto window = makeWindow();
    EXPECT_EQ(window->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly).size(), 70);

    QAction *manual = window->action("actionManual_View");
    EXPECT_EQ(manual->text(), "Manual View");
    EXPECT_EQ(manual->shortcut(), QKeySequence("Ctrl+V, Ctrl+M"));
    EXPECT_EQ(manual->statusTip(), "Choose an arbitrary viewing angle.");
    QAction *cut = window->action("actionCut_Cell_Volume");
    EXPECT_EQ(cut->toolTip(), "Cut Make cuts to view inside the cell volume. Volume");
    EXPECT_FALSE(window->action("actionModel_Extraction")->isEnabled());
    EXPECT_TRUE(window->action("actionShow_Axis")->isChecked());
    EXPECT_FALSE(window->action("actionShow_Lights")->isChecked());
    EXPECT_TRUE(window->action("actionSelect")->isCheckable());
    EXPECT_EQ(window->action("actionSave_As")->shortcut(), QKeySequence("Ctrl+Shift+S"));

    auto items = [&](const char *menuName) {
        QStringList texts;
        for (QAction *a : window->findChild<QMenu *>(menuName)->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    };
    EXPECT_EQ(items("menuFile"), QStringList({"New", "Open", "Save", "Save As ...", "-", "Export Data", "-",
                                              "New Process List", "Open Process List", "-", "Save Image", "-",
                                              "Exit"}));
    EXPECT_EQ(items("menuEdit"), QStringList({"Undo", "Redo", "-", "Select", "Copy", "Move", "Delete", "-", "Grid",
                                              "Snap to Grid", "Grid Spacing"}));
    EXPECT_EQ(items("menuSimulation").size(), 27);
    EXPECT_EQ(items("menuSimulation").first(), "Create Substrate");
    EXPECT_EQ(items("menuView"), QStringList({"Front View", "Back View", "Bottom View", "Top View", "Right View",
                                              "Left View", "-", "Show Axis", "Show Lights", "-", "Set View",
                                              "Set Lighting"}));
}

TEST(MainWindow, SelectActionFollowsTheSelectionMode)
{
    auto window = makeWindow();
    auto &mode = window->presenter().selectionMode();
    window->action("actionSelect")->trigger();
    EXPECT_TRUE(mode.isSelectionMode());
    mode.setSelectionMode(false);
    EXPECT_FALSE(window->action("actionSelect")->isChecked());
}

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

TEST(MainWindow, NewAnsweredWithCancelChangesNothing)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    auto volume = std::make_shared<Model::Automaton::TotalVolume>(2, 2, 2, 1.f, 1.f, 1.f, Util::Vector3D(),
                                                                  std::vector<uint32_t>(8, 1));
    model.scene().addObject(volume);
    model.startOperation(std::make_shared<FakeStep>(&model, "Create Substrate"));
    auto waiting = std::make_shared<FakeStep>(&model, "Step", true);
    model.startOperation(waiting);

    TestSupport::answerNextModal([](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->windowTitle(), "Create new document");
        EXPECT_EQ(box->text(), "This will erase all data. Continue?");
        box->button(QMessageBox::Cancel)->click();
    });
    window->action("actionNew")->trigger();

    EXPECT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.currentOperation(), waiting);
    EXPECT_EQ(waiting->cancels, 0);
    EXPECT_EQ(model.undoRedo().undoDepth(), 1u);
}

TEST(MainWindow, NewAnsweredWithOkEmptiesTheDocument)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    model.scene().addObject(std::make_shared<Model::Automaton::TotalVolume>(
        1, 1, 1, 1.f, 1.f, 1.f, Util::Vector3D(), std::vector<uint32_t>(1, 1)));
    model.scene().setDocumentName("wafer.vxf");
    model.volumeHistory().setLastStep(1, 13);
    model.startOperation(std::make_shared<FakeStep>(&model, "Create Substrate"));
    auto waiting = std::make_shared<FakeStep>(&model, "Step", true);
    model.startOperation(waiting);

    TestSupport::pressOnNextModal(QMessageBox::Ok);
    window->action("actionNew")->trigger();

    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_TRUE(model.scene().documentName().isEmpty());
    EXPECT_EQ(waiting->cancels, 1);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_FALSE(window->action("actionUndo")->isEnabled());
    EXPECT_FALSE(model.volumeHistory().hasLastStep(1));
    EXPECT_EQ(model.inputRequest().requester(), nullptr);
}

TEST(MainWindow, ConsoleActionShowsAndHidesTheConsole)
{
    auto window = makeWindow();
    window->show();
    auto &console = window->presenter().commandConsole();
    EXPECT_TRUE(console.isVisible());
    EXPECT_TRUE(console.windowFlags() & Qt::Tool);
    window->action("actionConsole")->trigger();
    EXPECT_FALSE(console.isVisible());
    window->action("actionConsole")->trigger();
    EXPECT_TRUE(console.isVisible());
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
    const auto messages = window->presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("Step: Operation canceled."));
}
