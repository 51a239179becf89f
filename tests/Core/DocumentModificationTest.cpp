#include "OperationDoubles.h"

#include "Core/Operations/OperationIds.h"

#include <gtest/gtest.h>

using namespace CoreTest;
using namespace Core::Operations;

namespace {

// A plain operation of a given kind that finishes as soon as it is executed.
class FinishingOperation : public Operation {
public:
    FinishingOperation(Core::ApplicationModel *model, uint32_t kind) : Operation(model, "Step", kind) {}
    void execute() override { finish(); }
    void cancel() override { model->operationEnded(); }
    void finish() override { model->operationFinished(); }
};

struct DocumentModification : ::testing::Test {
    void finishObjectOperation(const std::string &name)
    {
        auto op = std::make_shared<FakeObjectOperation>(&model, name, &journal);
        op->finishWhenExecuted();
        model.startOperation(op);
    }

    Journal journal;
    Core::ApplicationModel model;
};

} // namespace

TEST_F(DocumentModification, ObjectOperationsUndoAndRedoEachCountUntilTheDocumentIsSaved)
{
    EXPECT_FALSE(model.isModified()); // a new document has nothing to lose
    finishObjectOperation("Create Substrate");
    EXPECT_TRUE(model.isModified());
    model.markUnmodified(); // saved
    EXPECT_FALSE(model.isModified());
    model.undoRedo().undo();
    EXPECT_TRUE(model.isModified());
    model.markUnmodified();
    model.undoRedo().redo();
    EXPECT_TRUE(model.isModified());

    // Undoing back to where the document was saved still counts as a change.
    model.markUnmodified();
    model.undoRedo().undo();
    model.undoRedo().redo();
    EXPECT_TRUE(model.isModified());
}

TEST_F(DocumentModification, OnlyOperationsThatAlterTheDocumentCount)
{
    for (uint32_t kind : {SaveId, SaveAsId, OpenId, ExportDataId, ChangeVisualizationOptionsId, CutCellVolumeId,
                          MaskedVolumeCutId, BatchRunId}) {
        model.startOperation(std::make_shared<FinishingOperation>(&model, kind));
        EXPECT_FALSE(model.isModified()) << "kind " << kind;
    }

    // A plain process step (no undo) changes the cells all the same.
    model.startOperation(std::make_shared<FinishingOperation>(&model, PhotolithographyId));
    EXPECT_TRUE(model.isModified());
}
