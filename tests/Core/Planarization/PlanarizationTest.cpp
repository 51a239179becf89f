// Planarization and pouring: whole slices of the volume, and any thread count.

#include "Core/Operations/Planarization/Planarization.h"
#include "Core/Operations/Planarization/SpinCoating.h"
#include "common/Cells.h"
#include "common/Materials.h"
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
    const auto before = materialsOf(*volume);
    planarize(*volume, 5, 1);
    for (uint32_t x = 0; x < 7; ++x)
        for (uint32_t y = 0; y < 3; ++y)
            for (uint32_t z = 0; z < 9; ++z)
                EXPECT_EQ(materialAt(*volume, x, y, z), z < 1 || z >= 5 ? 0u : before[volume->cellIndex(x, y, z)]);

    // Heights at or above the volume cut nothing; a minimum above the maximum cuts everything.
    auto whole = structure();
    planarize(*whole, 1000, 0);
    EXPECT_EQ(materialsOf(*whole), before);
    planarize(*whole, 3, 4);
    EXPECT_EQ(materialsOf(*whole), std::vector<uint32_t>(before.size(), 0u));
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
