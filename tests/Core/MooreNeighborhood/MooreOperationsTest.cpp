// The Moore steps through the real application model: console lines, history, and undo and redo
// of interleaved deposition and etching, whose records share one snapshot name.

#include "Core/ApplicationModel.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDepositionOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtchingOperation.h"
#include "Core/Operations/OperationIds.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/Observers.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

struct MooreOperations : ::testing::Test {
    MooreOperations() : log(std::make_shared<MessageLog>(model.inputRequest()))
    {
        model.inputRequest().addObserver(log);
        model.scene().addObject(volume);
    }

    // Starts the operation with an options observer that sets `layers` and `material`, or sets
    // nothing (a declined dialog) when `layers` is 0.
    template <class Op>
    void run(uint32_t material, uint32_t layers)
    {
        auto op = std::make_shared<Op>(&model);
        Op *raw = op.get();
        op->setOptionsObserver(std::make_shared<CallObserver>([raw, material, layers] {
            if (layers == 0)
                return;
            raw->setMaterial(material);
            raw->setLayers(layers);
        }));
        model.startOperation(op);
    }

    Core::ApplicationModel model;
    std::shared_ptr<MessageLog> log;
    std::shared_ptr<TotalVolume> volume = flatVolume(6, 5, 10, 3, kSilicon);
};

} // namespace

TEST_F(MooreOperations, DepositionFinishesWithItsNameAndGoesOnTheUndoStack)
{
    run<MooreNeighborhoodDepositionOperation>(kOxide, 2);
    EXPECT_TRUE(log->contains("Moore film deposition: Cell volume selected."));
    EXPECT_EQ(log->last(), "Moore film deposition: Operation finished.");
    EXPECT_EQ(countInColumn(*volume, 2, 2, kOxide), 2u);
    EXPECT_EQ(model.undoRedo().undoName(), "Moore film deposition");
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(MooreDepositionId));
}

TEST_F(MooreOperations, EtchingOfSiliconMarksTheLatticeAndADeclinedDialogCancels)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    run<MooreNeighborhoodEtchingOperation>(kSilicon, 0);
    EXPECT_EQ(log->last(), "Moore film etching: Operation canceled.");
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));

    run<MooreNeighborhoodEtchingOperation>(kSilicon, 1);
    EXPECT_EQ(log->last(), "Moore film etching: Operation finished.");
    EXPECT_EQ(countInColumn(*volume, 2, 2, kSilicon), 2u);
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(MooreEtchingId));
}

TEST_F(MooreOperations, UndoAndRedoOfInterleavedStepsRestoreTheirOwnCells)
{
    const auto initial = materialsOf(*volume);
    run<MooreNeighborhoodDepositionOperation>(kOxide, 2);
    const auto deposited = materialsOf(*volume);
    run<MooreNeighborhoodEtchingOperation>(kOxide, 1);
    const auto etched = materialsOf(*volume);
    run<MooreNeighborhoodDepositionOperation>(kAluminium, 1);
    const auto capped = materialsOf(*volume);
    ASSERT_NE(deposited, initial);
    ASSERT_NE(etched, deposited);
    ASSERT_NE(capped, etched);

    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), etched);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), deposited);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), initial);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), deposited);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), etched);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), capped);
}

TEST(MooreSnapshotKeys, BothStepsNumberTheirRecordsUnderOneName)
{
    Core::ApplicationModel model;
    MooreNeighborhoodDepositionOperation deposition(&model);
    MooreNeighborhoodEtchingOperation etching(&model);
    EXPECT_EQ(deposition.snapshotKey().name(), "MooreFilmDep");
    EXPECT_EQ(etching.snapshotKey().name(), "MooreFilmDep");
    EXPECT_EQ(etching.snapshotKey().instance(), deposition.snapshotKey().instance() + 1);
    EXPECT_EQ(deposition.kind(), uint32_t(MooreDepositionId));
    EXPECT_EQ(etching.kind(), uint32_t(MooreEtchingId));
}
