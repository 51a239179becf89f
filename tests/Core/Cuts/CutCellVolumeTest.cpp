// The masked-cut automaton on small volumes: which columns a mask hides, counted cuts and their
// taking back, the reset, and the same counts for every thread count.

#include "Core/Operations/Cuts/CutBox.h"
#include "Core/Operations/Cuts/CutCellVolume.h"

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/ThreadCount.h"

#include <gtest/gtest.h>

using namespace TestSupport;
using Core::Operations::CutBox;
using Core::Operations::CutCellVolume;
using Model::Masks::ImageMask;

namespace {

// A mask of the given size whose opaque (kept) columns are those where kept(x, y) holds.
ImageMask maskOf(uint32_t width, uint32_t height, const std::function<bool(uint32_t, uint32_t)> &kept)
{
    ImageMask mask;
    mask.width = width;
    mask.height = height;
    mask.bits = QBitArray(int(width * height));
    for (uint32_t x = 0; x < width; ++x)
        for (uint32_t y = 0; y < height; ++y)
            mask.bits.setBit(int(x * height + y), kept(x, y));
    return mask;
}

std::vector<uint32_t> cutCountsOf(TotalVolume &volume)
{
    const Model::Automaton::CellReadLock lock(volume);
    std::vector<uint32_t> counts(volume.cellCount());
    for (size_t i = 0; i < counts.size(); ++i)
        counts[i] = lock.cells()[i].cutCount();
    return counts;
}

uint32_t cutCountAt(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z)
{
    const Model::Automaton::CellReadLock lock(volume);
    return lock.cells()[volume.cellIndex(x, y, z)].cutCount();
}

// Every cell of column (x, y) has `count` cuts.
void expectColumnCut(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t count)
{
    for (uint32_t z = 0; z < volume.sizeZ(); ++z)
        EXPECT_EQ(cutCountAt(volume, x, y, z), count) << "column " << x << "," << y << " z " << z;
}

} // namespace

TEST(CutCellVolume, HidesEveryColumnTheMaskLeavesClearIncludingThoseBeyondTheImage)
{
    auto volume = flatVolume(3, 3, 2, 1, kSilicon);
    const auto materials = materialsOf(*volume);
    // A 2 × 2 image keeping its diagonal (0, 0) and (1, 1); x = 2 and y = 2 lie beyond it.
    const ImageMask mask = maskOf(2, 2, [](uint32_t x, uint32_t y) { return x == y; });
    Core::Operations::cutMaskedColumns(*volume, mask);

    for (uint32_t x = 0; x < 3; ++x)
        for (uint32_t y = 0; y < 3; ++y)
            expectColumnCut(*volume, x, y, (x == y && x < 2) ? 0u : 1u);
    EXPECT_EQ(materialsOf(*volume), materials) << "a cut changes no material";
}

TEST(CutCellVolume, AnEmptyOrInconsistentMaskKeepsNoColumn)
{
    auto volume = flatVolume(2, 2, 2, 2, kSilicon);
    Core::Operations::cutMaskedColumns(*volume, ImageMask());
    EXPECT_EQ(cutCountsOf(*volume), std::vector<uint32_t>(8, 1u));

    ImageMask inconsistent = maskOf(2, 2, [](uint32_t, uint32_t) { return true; });
    inconsistent.height = 3; // 4 bits for 2 × 3 pixels: ignored
    Core::Operations::cutMaskedColumns(*volume, inconsistent);
    EXPECT_EQ(cutCountsOf(*volume), std::vector<uint32_t>(8, 2u));
}

TEST(CutCellVolume, CutsCountUpAndUncutsTakeBackOnlyTheirOwnColumns)
{
    auto volume = flatVolume(4, 1, 3, 3, kSilicon);
    const ImageMask keepLeft = maskOf(4, 1, [](uint32_t x, uint32_t) { return x < 2; });  // cuts x = 2, 3
    const ImageMask keepOuter = maskOf(4, 1, [](uint32_t x, uint32_t) { return x != 1 && x != 2; }); // cuts x = 1, 2
    Core::Operations::cutMaskedColumns(*volume, keepLeft);
    Core::Operations::cutMaskedColumns(*volume, keepOuter);
    const uint32_t afterBoth[4] = {0, 1, 2, 1};
    for (uint32_t x = 0; x < 4; ++x)
        expectColumnCut(*volume, x, 0, afterBoth[x]);

    // The hidden columns are the union of both cuts; taking one back leaves the other's.
    Core::Operations::uncutMaskedColumns(*volume, keepLeft);
    const uint32_t afterUncut[4] = {0, 1, 1, 0};
    for (uint32_t x = 0; x < 4; ++x)
        expectColumnCut(*volume, x, 0, afterUncut[x]);

    // Taking back more than was cut stops at 0.
    Core::Operations::uncutMaskedColumns(*volume, keepOuter);
    Core::Operations::uncutMaskedColumns(*volume, keepOuter);
    EXPECT_EQ(cutCountsOf(*volume), std::vector<uint32_t>(12, 0u));
}

TEST(CutCellVolume, CountsSaturateAt255AndResetClearsEveryCell)
{
    auto volume = flatVolume(2, 2, 2, 1, kSilicon);
    const ImageMask keepOne = maskOf(2, 2, [](uint32_t x, uint32_t y) { return x == 0 && y == 0; });
    for (int i = 0; i < 300; ++i)
        Core::Operations::cutMaskedColumns(*volume, keepOne);
    expectColumnCut(*volume, 1, 1, 255u);
    expectColumnCut(*volume, 0, 0, 0u);

    Core::Operations::removeAllCuts(*volume);
    EXPECT_EQ(cutCountsOf(*volume), std::vector<uint32_t>(8, 0u));
}

TEST(CutCellVolume, SameCountsForEveryThreadCount)
{
    // Wide enough along x for several slabs; a mask that differs column by column.
    const ImageMask mask = maskOf(13, 5, [](uint32_t x, uint32_t y) { return (x * 7 + y * 3) % 5 < 2; });
    const ImageMask second = maskOf(17, 3, [](uint32_t x, uint32_t y) { return (x + y) % 3 == 0; });
    std::vector<uint32_t> reference;
    for (int threads : kThreadCounts) {
        const ScopedThreadCount count(threads);
        auto volume = flatVolume(17, 6, 4, 2, kSilicon);
        Core::Operations::cutMaskedColumns(*volume, mask);
        Core::Operations::cutMaskedColumns(*volume, second);
        Core::Operations::uncutMaskedColumns(*volume, mask);
        Core::Operations::cutMaskedColumns(*volume, mask);
        const auto counts = cutCountsOf(*volume);
        if (reference.empty())
            reference = counts;
        EXPECT_EQ(counts, reference) << threads << " threads";
    }
}

TEST(CutCellVolume, SlabsRunWholeBelowTwoCellsAndOtherwiseOnePerThread)
{
    EXPECT_EQ(CutCellVolume::slabs(3, 2), (std::vector<Util::Slab>{{0, 3}}));
    EXPECT_EQ(CutCellVolume::slabs(7, 3), (std::vector<Util::Slab>{{0, 2}, {2, 4}, {4, 7}}));
    EXPECT_EQ(CutCellVolume::slabs(5, 0), (std::vector<Util::Slab>{{0, 5}}));
}

TEST(CutBox, FittingKeepsAtLeastOneCellPerAxisInsideTheVolume)
{
    const std::array<uint32_t, 3> sizes{{6, 4, 5}};
    // Upper beyond the volume, lower at or past upper, upper 0.
    const CutBox fitted = Core::Operations::fitCutBox(CutBox{{2, 4, 7}, {9, 4, 0}}, sizes);
    EXPECT_EQ(fitted.lower, (std::array<uint32_t, 3>{{2, 3, 0}}));
    EXPECT_EQ(fitted.upper, (std::array<uint32_t, 3>{{6, 4, 1}}));
    const CutBox inside{{1, 0, 2}, {3, 4, 5}};
    EXPECT_TRUE(Core::Operations::sameBox(Core::Operations::fitCutBox(inside, sizes), inside));
}
