#include "OperationDoubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace CoreTest;
using ::testing::ElementsAre;

namespace {

struct UndoRedoStackTest : ::testing::Test {
    UndoRedoStackTest()
    {
        stack.addUndoObserver(std::make_shared<JournalObserver>(&journal, "undo observer"));
        stack.addRedoObserver(std::make_shared<JournalObserver>(&journal, "redo observer"));
    }

    std::shared_ptr<FakeObjectOperation> done(const std::string &name)
    {
        auto op = std::make_shared<FakeObjectOperation>(&model, name, &journal);
        stack.push(op);
        return op;
    }

    // Makes an operation current that waits for Enter.
    void startWaiting(const std::string &name)
    {
        auto op = std::make_shared<FakeOperation>(&model, name, &journal);
        op->waitForEnterWhenExecuted();
        model.startOperation(op);
        journal.entries.clear();
    }

    Journal journal; // outlives the operations the model holds
    Core::ApplicationModel model;
    Core::Operations::UndoRedoStack &stack = model.undoRedo();
};

} // namespace

TEST_F(UndoRedoStackTest, ObserversHearOfEveryMoveInOrderAndLabelsFollow)
{
    done("Move Objects");
    EXPECT_THAT(journal.entries, ElementsAre("undo observer", "redo observer"));
    done("Copy Objects");
    EXPECT_EQ(stack.undoName(), "Copy Objects");
    EXPECT_EQ(stack.redoName(), "");
    journal.entries.clear();
    EXPECT_TRUE(stack.undo());
    EXPECT_THAT(journal.entries, ElementsAre("Copy Objects.undo", "redo observer", "undo observer"));
    EXPECT_EQ(stack.undoName(), "Move Objects");
    EXPECT_EQ(stack.redoName(), "Copy Objects");
    journal.entries.clear();
    EXPECT_TRUE(stack.redo());
    EXPECT_THAT(journal.entries, ElementsAre("Copy Objects.redo", "undo observer", "redo observer"));
    EXPECT_EQ(stack.undoName(), "Copy Objects");
    EXPECT_EQ(stack.redoName(), "");
}

TEST_F(UndoRedoStackTest, AnUndoThatUndoesNothingStaysOnTheUndoStack)
{
    done("Isotropic Deposition")->undoSucceeds = false;
    journal.entries.clear();
    EXPECT_TRUE(stack.undo());
    EXPECT_THAT(journal.entries, ElementsAre("Isotropic Deposition.undo", "undo observer"));
    EXPECT_EQ(stack.undoDepth(), 1u);
    EXPECT_EQ(stack.redoName(), "");
}

TEST_F(UndoRedoStackTest, UndoAndRedoCancelTheRunningOperationFirstUnlessTheStackIsEmpty)
{
    startWaiting("Move Objects");
    EXPECT_FALSE(stack.undo());
    EXPECT_FALSE(stack.redo());
    EXPECT_TRUE(journal.entries.empty());
    EXPECT_NE(model.currentOperation(), nullptr);
    done("Copy Objects");
    journal.entries.clear();
    stack.undo();
    EXPECT_EQ(journal.entries.at(0), "Move Objects.cancel");
    EXPECT_TRUE(journal.contains("Copy Objects.undo"));
    EXPECT_EQ(model.currentOperation(), nullptr);
    startWaiting("Delete Objects");
    stack.redo();
    EXPECT_EQ(journal.entries.at(0), "Delete Objects.cancel");
    EXPECT_TRUE(journal.contains("Copy Objects.redo"));
    EXPECT_EQ(model.currentOperation(), nullptr);
}
