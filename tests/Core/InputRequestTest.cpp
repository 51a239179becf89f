#include "OperationDoubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace CoreTest;
using Core::Operations::InputRequest;
using ::testing::ElementsAre;

namespace {

const std::string kInvalidPoint = "console: Invalid entry. Enter the x, y, z coordinates.";

struct InputRequestTest : ::testing::Test {
    InputRequestTest() { watchConsole(model, journal); }

    std::shared_ptr<FakeOperation> operation(const std::string &name)
    {
        auto op = std::make_shared<FakeOperation>(&model, name, &journal);
        op->onFinish = [] {};
        return op;
    }

    Journal journal; // outlives the operations the model holds
    Core::ApplicationModel model;
    InputRequest &input = model.inputRequest();
    Util::Vector4D point{9, 9, 9, 7};
    bool typed = false;
    bool enter = false;
};

} // namespace

TEST_F(InputRequestTest, PointIsReadWithOrWithoutBlanksAndAnUnreadableOneIsAskedAgain)
{
    // Two numbers; three without commas (the first skip eats the line); no numbers at all.
    const std::vector<std::pair<std::string, bool>> lines = {
        {"1, 2", false}, {"1 2 3", false}, {"x, y, z", false}, {"1, 2, 3", true}, {"1,2,3", true}, {"1 ,2 ,  3", true}};
    for (const auto &line : lines) {
        SCOPED_TRACE(line.first);
        point = Util::Vector4D(9, 9, 9, 7);
        typed = false;
        journal.entries.clear();
        auto op = operation("Move");
        input.requestPoint(op.get(), &point, &typed);
        input.submit(line.first);
        if (!line.second) {
            EXPECT_THAT(journal.entries, ElementsAre(kInvalidPoint));
            EXPECT_EQ(point, Util::Vector4D(9, 9, 9, 7));
            EXPECT_EQ(input.requester(), op.get());
            EXPECT_EQ(input.mode(), InputRequest::PointMode);
        } else {
            EXPECT_THAT(journal.entries, ElementsAre("Move.execute"));
            EXPECT_EQ(point, Util::Vector4D(1, 2, 3, 7));
            EXPECT_EQ(input.requester(), nullptr);
            EXPECT_EQ(input.mode(), InputRequest::NoRequest);
        }
        EXPECT_EQ(typed, line.second);
    }
}

TEST_F(InputRequestTest, UnreadablePointResumesAnOperationThatAlsoWaitsForEnter)
{
    auto op = operation("Delete");
    input.requestEnter(op.get(), &enter);
    input.requestPoint(op.get(), &point, &typed);
    input.submit("1, 2");
    EXPECT_THAT(journal.entries, ElementsAre(kInvalidPoint, "Delete.execute"));
    EXPECT_TRUE(enter);
    EXPECT_FALSE(typed);
    EXPECT_FALSE(input.isWaitingForEnter());
}

TEST_F(InputRequestTest, EmptyLineReachesOnlyAnOperationWaitingForEnterAndTextIsTakenAsItStands)
{
    input.submit(""); // nobody asked: nothing happens
    input.submit("1, 2, 3");
    EXPECT_TRUE(journal.entries.empty());
    auto op = operation("Copy");
    input.requestEnter(op.get());
    input.submit("whatever"); // with only Enter requested, any line is Enter
    EXPECT_THAT(journal.entries, ElementsAre("Copy.execute"));
    input.requestPoint(op.get(), &point, &typed);
    input.submit("");
    EXPECT_THAT(journal.entries, ElementsAre("Copy.execute"));
    EXPECT_EQ(input.requester(), op.get());
    input.requestEnter(op.get(), &enter);
    input.submit("");
    EXPECT_THAT(journal.entries, ElementsAre("Copy.execute", "Copy.execute"));
    EXPECT_TRUE(enter);
    EXPECT_FALSE(typed);
    EXPECT_EQ(input.requester(), nullptr);
    EXPECT_FALSE(input.isWaitingForEnter());

    // A text request takes the line as it stands.
    std::string text;
    bool received = false;
    input.requestText(op.get(), &text, &received);
    input.submit("  my wafer, 2.vox ");
    EXPECT_EQ(text, "  my wafer, 2.vox ");
    EXPECT_TRUE(received);
    EXPECT_EQ(input.mode(), InputRequest::NoRequest);
}

TEST_F(InputRequestTest, ARequestFromAnotherOperationFinishesTheWaitingOne)
{
    auto first = operation("First");
    auto second = operation("Second");
    std::string text;
    input.requestEnter(first.get());
    input.requestText(first.get(), &text); // the same operation asking again finishes nothing
    EXPECT_TRUE(journal.entries.empty());
    input.requestPoint(second.get(), &point, &typed);
    EXPECT_THAT(journal.entries, ElementsAre("First.finish"));
    EXPECT_EQ(input.requester(), second.get());
    EXPECT_EQ(input.mode(), InputRequest::PointMode);
}

TEST_F(InputRequestTest, ObserversHearOnlyNonEmptyMessages)
{
    input.addObserver(std::make_shared<JournalObserver>(&journal, "second observer"));
    input.postMessage("Move: Operation canceled");
    input.postMessage("");
    EXPECT_THAT(journal.entries, ElementsAre("console: Move: Operation canceled", "second observer"));
    EXPECT_EQ(input.message(), "");
}

TEST_F(InputRequestTest, AnOperationThatGoesAwayLeavesNoRequestBehind)
{
    std::string text;
    auto open = operation("Open");
    input.requestEnter(open.get());
    input.requestText(open.get(), &text);
    open.reset();
    input.submit("file.vox");
    input.submit("");
    EXPECT_TRUE(journal.entries.empty());

    // Enter resumes an operation whose point request stays open; then it is cancelled. The
    // next operation's Enter must not be read as that point.
    auto move = operation("Move");
    input.requestPoint(move.get(), &point, &typed);
    input.requestEnter(move.get());
    input.submit("");
    move->cancel();
    EXPECT_EQ(input.mode(), InputRequest::NoRequest);
    auto next = operation("Delete");
    input.requestEnter(next.get());
    journal.entries.clear();
    input.submit("1, 2, 3");
    EXPECT_EQ(point, Util::Vector4D(9, 9, 9, 7));
    EXPECT_FALSE(typed);
    EXPECT_THAT(journal.entries, ElementsAre("Delete.execute"));
}
