// What makes the main window feel finished: the console stays with its window, the status bar
// carries the running operation's prompt, undo and redo say what they did, missing steps say
// so, menus answer Alt+letter, and documents open from the command line.

#include "Core/ApplicationModel.h"
#include "Core/Operations/Document/DocumentFiles.h"
#include "Core/Operations/ObjectOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowActions.h"
#include "UI/MainWindowPresenter.h"
#include "UI/OperationFactory.h"
#include "common/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

using Core::Operations::ObjectOperation;

// Asks for Enter with a prompt, as the object operations do; undoable once finished.
class PromptingStep : public ObjectOperation {
public:
    PromptingStep(Core::ApplicationModel *model, std::string name) : ObjectOperation(model, std::move(name), 99) {}
    void execute() override
    {
        if (++executions == 1) {
            postMessage("Click a volume: then press Enter.");
            model->inputRequest().requestEnter(this);
            return;
        }
        finish();
    }
    void cancel() override { cancelWithMessage(); }
    void finish() override
    {
        postMessage("Operation finished.");
        model->operationFinished();
    }
    bool undo() override { return true; }
    bool redo() override { return true; }

    int executions = 0;
};

std::unique_ptr<Ui::MainWindow> makeWindow()
{
    auto window = std::make_unique<Ui::MainWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false); // the test owns it
    return window;
}

QString consoleText(Ui::MainWindow &window)
{
    return window.presenter().commandConsole().output()->toPlainText();
}

std::shared_ptr<Model::Automaton::TotalVolume> smallVolume()
{
    std::vector<uint32_t> cells(4 * 4 * 2, 1u);
    return std::make_shared<Model::Automaton::TotalVolume>(4, 4, 2, 1.0f, 1.0f, 1.0f, Util::Vector3D(), cells);
}

} // namespace

TEST(MainWindowPolish, ConsoleIsAToolWindowOfItsMainWindow)
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
}

TEST(MainWindowPolish, ConsoleShownAgainShowsTheNewestLine)
{
    auto window = makeWindow();
    window->show();
    auto &console = window->presenter().commandConsole();
    ASSERT_TRUE(QTest::qWaitFor([&] { return console.isVisible(); }, 5000));
    QScrollBar *bar = console.output()->verticalScrollBar();

    window->action("actionConsole")->trigger();
    for (int i = 0; i < 60; ++i)
        console.writeMessage(QStringLiteral("Line %1").arg(i));
    bar->setValue(0);
    window->action("actionConsole")->trigger();
    ASSERT_TRUE(console.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); }, 5000))
        << bar->value() << " of " << bar->maximum();
}

TEST(MainWindowPolish, StatusBarCarriesThePromptUntilTheOperationEnds)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    QLabel *prompt = window->promptLabel();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->objectName(), "lblOperationPrompt");
    EXPECT_TRUE(prompt->text().isEmpty());

    // The name's prefix goes; a colon inside the text stays.
    model.startOperation(std::make_shared<PromptingStep>(&model, "Move"));
    EXPECT_EQ(prompt->text(), "Click a volume: then press Enter.");
    window->presenter().cancelPressed();
    EXPECT_TRUE(prompt->text().isEmpty());
    EXPECT_EQ(window->statusBar()->currentMessage(), "Move: Operation canceled.");

    // Finished through Enter: the prompt goes too.
    model.startOperation(std::make_shared<PromptingStep>(&model, "Copy"));
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

TEST(MainWindowPolish, UndoAndRedoSayWhatTheyActedOn)
{
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    model.startOperation(std::make_shared<PromptingStep>(&model, "Isotropic Deposition"));
    window->presenter().enterPressed();

    window->action("actionUndo")->trigger();
    EXPECT_TRUE(consoleText(*window).endsWith("Undo: Isotropic Deposition."));
    window->action("actionRedo")->trigger();
    EXPECT_TRUE(consoleText(*window).endsWith("Redo: Isotropic Deposition."));
    EXPECT_EQ(window->statusBar()->currentMessage(), "Redo: Isotropic Deposition.");

    // Nothing left to redo: no line.
    const QString before = consoleText(*window);
    window->presenter().redo();
    EXPECT_EQ(consoleText(*window), before);
}

TEST(MainWindowPolish, ActionWithoutItsStepSaysItIsNotAvailable)
{
    auto window = makeWindow();
    const Ui::ActionSpec *missing = nullptr;
    for (int i = 0; i < Ui::kMainWindowActionCount && !missing; ++i) {
        const Ui::ActionSpec &spec = Ui::kMainWindowActions[i];
        if (spec.operationId != 0 && !Ui::OperationFactory::makes(spec.operationId))
            missing = &spec;
    }
    if (!missing)
        GTEST_SKIP() << "every action's step is built";

    window->presenter().operationActivated(QString::number(missing->operationId));
    const QString line = QString::fromUtf8(missing->text) + QStringLiteral(": not available in this version.");
    EXPECT_TRUE(consoleText(*window).endsWith(line)) << line.toStdString();
    EXPECT_EQ(window->statusBar()->currentMessage(), line);

    // Ids no action starts stay silent; a built step does not claim to be missing.
    const QString before = consoleText(*window);
    window->presenter().operationActivated("999");
    window->presenter().operationActivated("0");
    EXPECT_EQ(consoleText(*window), before);
    window->presenter().operationActivated(QString::number(Ui::kMainWindowActions[4].operationId)); // Copy
    EXPECT_FALSE(consoleText(*window).contains("Copy: not available"));
}

TEST(MainWindowPolish, EveryMenuOpensWithItsOwnAltLetter)
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

TEST(MainWindowPolish, CommandLineDocumentsOpenInWindowsOfTheirOwn)
{
    QTemporaryDir dir;
    const QString first = dir.filePath("first.vxf");
    const QString second = dir.filePath("second.vxf");
    const QString broken = dir.filePath("broken.vxf");
    {
        auto source = makeWindow();
        auto &model = source->presenter().applicationModel();
        model.scene().addObject(smallVolume());
        ASSERT_TRUE(Core::Operations::writeDocument(model, first, nullptr));
        model.scene().addObject(smallVolume());
        ASSERT_TRUE(Core::Operations::writeDocument(model, second, nullptr));
    }
    QFile garbage(broken);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a document");
    garbage.close();

    QString asked;
    TestSupport::answerNextModal([&asked](QWidget *modal) {
        asked = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            box->button(QMessageBox::Ok)->click();
    });
    QList<Ui::MainWindow *> windows = Ui::MainWindow::windowsForDocuments({first, broken, second});
    EXPECT_EQ(asked, "Error reading from file");
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
