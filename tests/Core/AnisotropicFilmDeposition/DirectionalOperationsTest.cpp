// The directional steps as the user runs them: through the application model with a test
// observer in place of the dialog, their console lines, volume history and undo and redo.

#include "Core/ApplicationModel.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtchingOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtchingOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/OperationIds.h"

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/Observers.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using TestSupport::kOxide;
using TestSupport::kSilicon;
using TestSupport::materialAt;
using TestSupport::materialsOf;
using Model::Automaton::TotalVolume;

namespace {

constexpr uint32_t kMetal = TestSupport::kAluminium;

// Silicon below z = 3, and below z = 7 for x < 4, in 8 × 4 × 12 unit cells: the only object.
struct DirectionalOperations : ::testing::Test {
    DirectionalOperations() : log(std::make_shared<TestSupport::MessageLog>(model.inputRequest()))
    {
        model.inputRequest().addObserver(log);
        volume = TestSupport::volumeOf(8, 4, 12, [](uint32_t x, uint32_t, uint32_t z) {
            return z < 3 || (x < 4 && z < 7) ? kSilicon : 0u;
        });
        model.scene().addObject(volume);
    }

    // Starts `op` with an options observer that calls `options` on it (none: a declined dialog).
    template <class Op>
    void start(std::shared_ptr<Op> op, std::function<void(Op &)> options)
    {
        Op *raw = op.get();
        op->setOptionsObserver(std::make_shared<TestSupport::CallObserver>([raw, options] {
            if (options)
                options(*raw);
        }));
        model.startOperation(op);
    }

    void depositAnisotropic(uint32_t material, float thickness, float ratio)
    {
        start<AnisotropicFilmDepositionOperation>(std::make_shared<AnisotropicFilmDepositionOperation>(&model),
                                                  [=](AnisotropicFilmDepositionOperation &op) {
                                                      op.setThickness(thickness);
                                                      op.setHorizontalRatio(ratio);
                                                      op.setMaterial(material);
                                                  });
    }

    void etchAnisotropic(uint32_t material, float depth, float ratio)
    {
        start<AnisotropicFilmEtchingOperation>(std::make_shared<AnisotropicFilmEtchingOperation>(&model),
                                               [=](AnisotropicFilmEtchingOperation &op) {
                                                   op.setDepth(depth);
                                                   op.setHorizontalRatio(ratio);
                                                   op.setMaterial(material);
                                               });
    }

    void pvd(uint32_t material, float thickness, uint32_t sides)
    {
        start<SimplePhysicalVaporDepositionOperation>(
            std::make_shared<SimplePhysicalVaporDepositionOperation>(&model),
            [=](SimplePhysicalVaporDepositionOperation &op) {
                op.setThickness(thickness);
                op.setHorizontalRatio(0.5f);
                op.setMaterial(material);
                op.setSides(sides);
            });
    }

    void depositIsotropic(uint32_t material, float thickness)
    {
        start<IsotropicFilmDepositionOperation>(std::make_shared<IsotropicFilmDepositionOperation>(&model),
                                                [=](IsotropicFilmDepositionOperation &op) {
                                                    op.setThickness(thickness);
                                                    op.setMaterial(material);
                                                });
    }

    Core::ApplicationModel model;
    std::shared_ptr<TestSupport::MessageLog> log;
    std::shared_ptr<TotalVolume> volume;
};

} // namespace

TEST_F(DirectionalOperations, EachStepRunsUnderItsNameAndIsRecordedInTheHistory)
{
    depositAnisotropic(kOxide, 2.f, 0.5f);
    EXPECT_TRUE(log->contains("Anisotropic Deposition: Cell volume selected."));
    EXPECT_EQ(log->last(), "Anisotropic Deposition: Operation finished.");
    EXPECT_EQ(materialAt(*volume, 6, 1, 4), kOxide);
    EXPECT_EQ(materialAt(*volume, 6, 1, 5), 0u);
    EXPECT_EQ(model.undoRedo().undoName(), "Anisotropic Deposition");
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(AnisotropicDepositionId));

    etchAnisotropic(kOxide, 1.f, 0.f);
    EXPECT_EQ(log->last(), "Anisotropic Etching: Operation finished.");
    EXPECT_EQ(materialAt(*volume, 6, 1, 4), 0u);
    EXPECT_EQ(materialAt(*volume, 6, 1, 3), kOxide);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(AnisotropicEtchingId));

    pvd(kMetal, 1.f, SimplePhysicalVaporDeposition::Top);
    EXPECT_EQ(log->last(), "PVD: Operation finished.");
    EXPECT_EQ(model.undoRedo().undoName(), "PVD");
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(PvdId));
    EXPECT_EQ(model.undoRedo().undoDepth(), 3u);
}

TEST_F(DirectionalOperations, OnlySiliconStepsMarkTheLatticeOutOfDate)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    depositAnisotropic(kOxide, 1.f, 0.5f);
    pvd(kMetal, 1.f, SimplePhysicalVaporDeposition::BothSides);
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    etchAnisotropic(kSilicon, 1.f, 0.5f);
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(DirectionalOperations, DeclinedDialogCancelsEveryStepAndLeavesTheCells)
{
    const auto before = materialsOf(*volume);
    start<AnisotropicFilmDepositionOperation>(std::make_shared<AnisotropicFilmDepositionOperation>(&model), {});
    EXPECT_EQ(log->last(), "Anisotropic Deposition: Operation canceled.");
    start<AnisotropicFilmEtchingOperation>(std::make_shared<AnisotropicFilmEtchingOperation>(&model), {});
    EXPECT_EQ(log->last(), "Anisotropic Etching: Operation canceled.");
    start<SimplePhysicalVaporDepositionOperation>(std::make_shared<SimplePhysicalVaporDepositionOperation>(&model),
                                                  [](SimplePhysicalVaporDepositionOperation &op) {
                                                      // Everything but the side: still incomplete.
                                                      op.setThickness(1.f);
                                                      op.setHorizontalRatio(1.f);
                                                      op.setMaterial(kOxide);
                                                  });
    EXPECT_EQ(log->last(), "PVD: Operation canceled.");
    start<SimpleReactiveIonEtchingOperation>(std::make_shared<SimpleReactiveIonEtchingOperation>(&model), {});
    EXPECT_EQ(log->last(), "Simple RIE: Operation canceled.");
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
}

TEST_F(DirectionalOperations, UndoAndRedoRestoreTheExactCells)
{
    const auto initial = materialsOf(*volume);
    depositAnisotropic(kOxide, 2.f, 0.5f);
    const auto afterDeposition = materialsOf(*volume);
    pvd(kMetal, 2.f, SimplePhysicalVaporDeposition::Top);
    const auto afterPvd = materialsOf(*volume);
    etchAnisotropic(kMetal, 1.f, 1.f);
    const auto afterEtching = materialsOf(*volume);
    ASSERT_NE(afterDeposition, initial);
    ASSERT_NE(afterPvd, afterDeposition);
    ASSERT_NE(afterEtching, afterPvd);

    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), afterPvd);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), afterDeposition);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), initial);
    ASSERT_TRUE(model.undoRedo().redo());
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterPvd);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterEtching);
}

TEST_F(DirectionalOperations, PvdAndIsotropicDepositionShareTheSnapshotNameButNotTheirRecords)
{
    const auto initial = materialsOf(*volume);
    depositIsotropic(kOxide, 1.f);
    const auto afterIsotropic = materialsOf(*volume);
    pvd(kMetal, 2.f, SimplePhysicalVaporDeposition::Top);
    const auto afterPvd = materialsOf(*volume);
    depositIsotropic(kOxide, 1.f);
    ASSERT_NE(afterPvd, afterIsotropic);

    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), afterPvd);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), afterIsotropic);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), initial);
    ASSERT_TRUE(model.undoRedo().redo());
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterPvd);

    IsotropicFilmDepositionOperation isotropic(&model);
    SimplePhysicalVaporDepositionOperation physical(&model);
    EXPECT_EQ(physical.snapshotKey().name(), "IsotropicDeposition");
    EXPECT_EQ(physical.snapshotKey().instance(), isotropic.snapshotKey().instance() + 1);
}

TEST_F(DirectionalOperations, SimpleRieEtchesFromTheTopByDefaultAndIsNotUndoable)
{
    auto op = std::make_shared<SimpleReactiveIonEtchingOperation>(&model);
    EXPECT_EQ(op->directionFlags(), SimpleReactiveIonEtching::kFromTop);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    start<SimpleReactiveIonEtchingOperation>(op, [](SimpleReactiveIonEtchingOperation &rie) {
        rie.setDepth(2.7f); // whole cells: 2
        rie.setMaterial(kSilicon);
    });
    EXPECT_EQ(log->last(), "Simple RIE: Operation finished.");
    EXPECT_EQ(TestSupport::countInColumn(*volume, 1, 1, kSilicon), 5u);
    EXPECT_EQ(TestSupport::countInColumn(*volume, 6, 1, kSilicon), 1u);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_TRUE(model.isModified()); // not undoable, but a change a save must write
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(SimpleRieId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    EXPECT_EQ(model.currentOperation(), nullptr);
}
