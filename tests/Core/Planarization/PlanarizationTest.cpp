// Planarization and pouring: whole slices of the volume, any thread count, and the two plain
// operations through the real application model.

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Planarization/Planarization.h"
#include "Core/Operations/Planarization/PlanarizationOperation.h"
#include "Core/Operations/Planarization/SpinCoating.h"
#include "Core/Operations/Planarization/SpinCoatingOperation.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/Observers.h"
#include "common/ThreadCount.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

constexpr uint32_t kResist = 12;

// Silicon below z = 4 with a trench at x = 2, an oxide pillar at x = 4 up to z = 7 and a void
// sealed inside the silicon at (5, 1, 1).
std::shared_ptr<TotalVolume> structure(uint32_t sizeX = 7)
{
    return volumeOf(sizeX, 3, 9, [](uint32_t x, uint32_t y, uint32_t z) {
        if (x == 5 && y == 1 && z == 1)
            return 0u;
        if (x == 4 && z >= 4 && z < 7)
            return kOxide;
        return z < 4 && !(x == 2 && z >= 2) ? kSilicon : 0u;
    });
}

} // namespace

TEST(Planarization, CutsAboveTheMaximumAndBelowTheMinimumWhateverTheMaterial)
{
    auto volume = structure();
    planarize(*volume, 5, 1);
    for (uint32_t x = 0; x < 7; ++x)
        for (uint32_t y = 0; y < 3; ++y) {
            EXPECT_EQ(materialAt(*volume, x, y, 0), 0u);
            for (uint32_t z = 5; z < 9; ++z)
                EXPECT_EQ(materialAt(*volume, x, y, z), 0u);
        }
    EXPECT_EQ(materialAt(*volume, 4, 0, 4), kOxide);
    EXPECT_EQ(materialAt(*volume, 0, 0, 1), kSilicon);
}

TEST(Planarization, HeightsAtOrAboveTheVolumeAndAMinimumAboveTheMaximum)
{
    auto volume = structure();
    const auto before = materialsOf(*volume);
    planarize(*volume, 9, 0);
    EXPECT_EQ(materialsOf(*volume), before);
    planarize(*volume, 1000, 0);
    EXPECT_EQ(materialsOf(*volume), before);
    planarize(*volume, 3, 4);
    EXPECT_EQ(materialsOf(*volume), std::vector<uint32_t>(before.size(), 0u));
}

TEST(SpinCoating, FillsEveryEmptyCellBelowTheHeightVoidsIncluded)
{
    auto volume = structure();
    const auto before = materialsOf(*volume);
    pourMaterial(*volume, kResist, 0);
    EXPECT_EQ(materialsOf(*volume), before);

    pourMaterial(*volume, kResist, 6);
    EXPECT_EQ(materialAt(*volume, 5, 1, 1), kResist) << "the sealed void";
    EXPECT_EQ(countInColumn(*volume, 2, 0, kResist), 4u) << "the trench and above it";
    EXPECT_EQ(countInColumn(*volume, 4, 0, kOxide), 3u) << "the pillar keeps its cells";
    EXPECT_EQ(materialAt(*volume, 0, 0, 6), 0u);

    pourMaterial(*volume, kAluminium, 100);
    EXPECT_EQ(materialAt(*volume, 0, 0, 8), kAluminium);
    EXPECT_EQ(materialAt(*volume, 0, 0, 5), kResist);
}

TEST(SliceSteps, EveryThreadCountGivesTheSameCells)
{
    // x sizes below three times 2, 3 and 8 threads (one slab) and above with a remainder.
    for (uint32_t sizeX : {5u, 8u, 23u, 26u}) {
        auto reference = structure(sizeX);
        planarize(*reference, 6, 1);
        pourMaterial(*reference, kResist, 5);
        const auto want = materialsOf(*reference);
        for (int threads : kThreadCounts) {
            ScopedThreadCount count(threads);
            auto volume = structure(sizeX);
            planarize(*volume, 6, 1);
            pourMaterial(*volume, kResist, 5);
            EXPECT_EQ(materialsOf(*volume), want) << sizeX << " planes, " << threads << " threads";
        }
    }
}

TEST(SliceOperations, PlanarizationEndsWithoutUndoAndMarksTheLattice)
{
    Core::ApplicationModel model;
    auto log = std::make_shared<MessageLog>(model.inputRequest());
    model.inputRequest().addObserver(log);
    auto volume = structure();
    model.scene().addObject(volume);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);

    auto declined = std::make_shared<PlanarizationOperation>(&model);
    model.startOperation(declined);
    EXPECT_EQ(log->last(), "Planarization: Operation canceled!");

    auto op = std::make_shared<PlanarizationOperation>(&model);
    PlanarizationOperation *raw = op.get();
    op->setOptionsObserver(std::make_shared<CallObserver>([raw] {
        raw->setMaximumHeight(3);
        raw->setMinimumHeight(0);
    }));
    model.startOperation(op);
    EXPECT_TRUE(log->contains("Planarization: Cell volume selected."));
    EXPECT_EQ(log->last(), "Planarization: Operation finished.");
    EXPECT_EQ(materialAt(*volume, 0, 0, 3), 0u);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_TRUE(model.isModified());
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(PlanarizationId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST(SliceOperations, PouringEndsWithoutUndoAndLeavesTheLattice)
{
    Core::ApplicationModel model;
    auto log = std::make_shared<MessageLog>(model.inputRequest());
    model.inputRequest().addObserver(log);
    auto volume = structure();
    model.scene().addObject(volume);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);

    auto declined = std::make_shared<SpinCoatingOperation>(&model);
    model.startOperation(declined);
    EXPECT_EQ(log->last(), "Pour Material: Operation canceled.");
    EXPECT_FALSE(model.isModified());

    auto op = std::make_shared<SpinCoatingOperation>(&model);
    SpinCoatingOperation *raw = op.get();
    op->setOptionsObserver(std::make_shared<CallObserver>([raw] {
        raw->setMaterial(kResist);
        raw->setHeight(5);
    }));
    model.startOperation(op);
    EXPECT_EQ(log->last(), "Pour Material: Operation finished.");
    EXPECT_EQ(countInColumn(*volume, 0, 0, kResist), 1u);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(PourMaterialId));
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}
