#include "OperationDoubles.h"

#include "Core/VolumeHistory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace CoreTest;
using ::testing::ElementsAre;

namespace {

struct ApplicationModelTest : ::testing::Test {
    ApplicationModelTest()
    {
        model.setOperationFactory(factory);
        model.addUpdateObserver(updates);
        watchConsole(model, journal);
    }

    // Lets the factory build, under `id`, an operation that waits for Enter once executed.
    void offerWaiting(uint32_t id, const std::string &name)
    {
        factory->makers[id] = [this, name] {
            auto op = std::make_shared<FakeOperation>(&model, name, &journal);
            op->waitForEnterWhenExecuted();
            return op;
        };
    }

    template <class Op>
    void runToTheEnd(const std::string &name)
    {
        auto op = std::make_shared<Op>(&model, name, &journal);
        op->finishWhenExecuted();
        model.startOperation(op);
    }

    Journal journal; // outlives the operations the model holds
    Core::ApplicationModel model;
    std::shared_ptr<FakeFactory> factory = std::make_shared<FakeFactory>();
    std::shared_ptr<JournalObserver> updates = std::make_shared<JournalObserver>(&journal, "view updated");
};

} // namespace

TEST_F(ApplicationModelTest, AnIdWithoutOperationOnlyCancelsTheRunningOne)
{
    offerWaiting(13, "Isotropic Deposition");
    model.startOperation(13);
    journal.entries.clear();
    model.startOperation(21);
    EXPECT_THAT(journal.entries, ElementsAre("Isotropic Deposition.cancel",
                                             "console: Isotropic Deposition: Operation canceled.", "view updated"));
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.inputRequest().requester(), nullptr);
}

TEST_F(ApplicationModelTest, StartingAnOperationCancelsTheWaitingOneBeforeExecutingTheNew)
{
    offerWaiting(7, "Move Objects");
    offerWaiting(4, "Delete Objects");
    model.startOperation(7);
    journal.entries.clear();
    model.startOperation(4);
    EXPECT_THAT(journal.entries, ElementsAre("Move Objects.cancel", "console: Move Objects: Operation canceled.",
                                             "view updated", "Delete Objects.execute"));
    ASSERT_NE(model.currentOperation(), nullptr);
    EXPECT_EQ(model.currentOperation()->name(), "Delete Objects");
    EXPECT_EQ(model.inputRequest().requester(), model.currentOperation().get());
}

TEST_F(ApplicationModelTest, OnlyFinishedObjectOperationsGoOnTheUndoStack)
{
    auto volume = addVolume(model);
    auto &selection = model.selectionMode();
    selection.toggleObject(volume->objectId());
    runToTheEnd<FakeOperation>("Save");
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_TRUE(model.selectedObjects().isEmpty());
    EXPECT_EQ(updates->calls, 1);
    selection.toggleObject(volume->objectId());
    runToTheEnd<FakeObjectOperation>("Move Objects");
    EXPECT_EQ(model.undoRedo().undoName(), "Move Objects");
    EXPECT_FALSE(volume->isSelected());
    EXPECT_EQ(updates->calls, 2);
    auto cancelled = std::make_shared<FakeObjectOperation>(&model, "Copy Objects", &journal);
    cancelled->waitForEnterWhenExecuted();
    model.startOperation(cancelled);
    model.cancelCurrent();
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoDepth(), 1u);
}

TEST_F(ApplicationModelTest, AnOperationEndingInsideItsOwnExecuteLivesUntilTheNextOneEnds)
{
    std::string fileName;
    auto save = std::make_shared<FakeOperation>(&model, "Save As", &journal);
    FakeOperation *raw = save.get();
    save->onExecute = [raw, &fileName, this] {
        if (fileName.empty())
            model.inputRequest().requestText(raw, &fileName);
        else
            raw->finish();
    };
    model.startOperation(save);
    std::weak_ptr<Core::Operations::Operation> watch = save;
    save.reset(); // the model is the only holder now
    model.inputRequest().submit("wafer.vox"); // resumes execute, which ends the operation
    EXPECT_FALSE(journal.destroyedWhileRunning);
    EXPECT_FALSE(watch.expired());
    runToTheEnd<FakeOperation>("Save");
    EXPECT_TRUE(watch.expired());
}

TEST(VolumeHistory, AbsentLatticeFlagCountsAsOutOfDateAndClearForgetsBothMaps)
{
    Core::VolumeHistory history;
    EXPECT_TRUE(history.isLatticeOutOfDate(3));
    history.setLatticeOutOfDate(3, false);
    history.setLastStep(3, 28);
    EXPECT_FALSE(history.isLatticeOutOfDate(3));
    EXPECT_TRUE(history.isLatticeOutOfDate(4));
    EXPECT_EQ(history.lastStep(3), 28u);
    history.clear();
    EXPECT_TRUE(history.isLatticeOutOfDate(3));
    EXPECT_FALSE(history.hasLastStep(3));
}
