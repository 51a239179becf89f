#include "UiTestSupport.h"

#include "Core/Operations/InputRequest.h"
#include "UI/Console/CommandConsole.h"

#include <QLineEdit>

using Core::Operations::InputRequest;
using Core::Operations::Operation;
using Ui::Console::CommandConsole;

namespace {

// An operation that asks for a point and records what it received.
class PointTaker : public Operation {
public:
    explicit PointTaker(InputRequest &request) : Operation(nullptr, "Move", 7), request(request) {}
    void execute() override
    {
        ++executions;
        if (!received)
            request.requestPoint(this, &point, &received);
        else
            request.postMessage("Move: Object(s) moved");
    }
    void cancel() override {}
    void finish() override {}

    InputRequest &request;
    Util::Vector4D point;
    bool received = false;
    int executions = 0;
};

QStringList outputLines(const CommandConsole &console)
{
    return console.output()->toPlainText().split('\n', Qt::SkipEmptyParts);
}

void enterLine(CommandConsole &console, const QString &text)
{
    console.input()->setText(text);
    console.enterPressed();
}

struct Console : ::testing::Test {
    Core::ApplicationModel model;
    InputRequest &request = model.inputRequest();
    CommandConsole console{nullptr, Qt::Tool, &request};
};

} // namespace

TEST_F(Console, TypedPointReachesTheWaitingOperationOnlyWhenValid)
{
    PointTaker move(request);
    move.execute();

    enterLine(console, "1, 2");
    EXPECT_FALSE(move.received);
    EXPECT_EQ(request.requester(), &move);
    EXPECT_EQ(outputLines(console), QStringList({"1, 2", "Invalid entry. Enter the x, y, z coordinates."}));

    enterLine(console, "1,2,3");
    EXPECT_TRUE(move.received);
    EXPECT_EQ(move.point, Util::Vector4D(1, 2, 3, 0));
    EXPECT_EQ(outputLines(console).mid(2), QStringList({"1,2,3", "Move: Object(s) moved"}));
    EXPECT_EQ(console.history(), QStringList({"1,2,3", "1, 2"})); // newest first
    EXPECT_TRUE(console.input()->text().isEmpty());

    // With nobody waiting, a line is only echoed.
    InputRequest idle;
    CommandConsole quiet(nullptr, Qt::Tool, &idle);
    enterLine(quiet, "hello");
    EXPECT_EQ(outputLines(quiet), QStringList({"hello"}));
}

TEST_F(Console, BareEnterResumesAWaitingOperationAndLeavesNoTrace)
{
    auto step = std::make_shared<UiTest::FakeStep>(&model, "Step", true);
    model.startOperation(step);
    enterLine(console, "");
    EXPECT_EQ(step->executions, 2);
    EXPECT_TRUE(console.history().isEmpty());
    EXPECT_EQ(console.output()->toPlainText(), "Step: Operation finished."); // no empty line echoed
}

TEST_F(Console, UpAndDownWalkTheHistory)
{
    console.upArrowPressed(); // empty history: nothing happens
    EXPECT_TRUE(console.input()->text().isEmpty());

    for (const char *line : {"a", "b", "c"})
        enterLine(console, line);

    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        console.upArrowPressed();
        shown << console.input()->text();
    }
    EXPECT_EQ(shown, QStringList({"c", "b", "a", "a"}));

    console.downArrowPressed();
    EXPECT_EQ(console.input()->text(), "a");
    console.downArrowPressed();
    EXPECT_EQ(console.input()->text(), "b");
    console.downArrowPressed(); // reaching the newest line clears the input
    EXPECT_TRUE(console.input()->text().isEmpty());
    console.upArrowPressed();
    EXPECT_EQ(console.input()->text(), "c");
}

TEST_F(Console, MessagesArriveWhileHiddenAndEmptyOnesNever)
{
    console.hide();
    request.postMessage("Create Substrate: substrate created successfully.");
    request.postMessage("");
    console.show();
    EXPECT_EQ(outputLines(console), QStringList({"Create Substrate: substrate created successfully."}));
}
