// Gluing one volume onto another: the analysis of the two volumes, the copy (plain, inverted,
// shifted), and the same cells for every thread count.

#include "../CellChecks.h"
#include "Core/Operations/GlueSubstrate/GlueLayout.h"
#include "Core/Operations/GlueSubstrate/GlueSubstrate.h"
#include "Model/Automaton/TotalVolume.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace Core::Operations;
using namespace TestSupport;
using CoreTest::column;
using V = std::vector<uint32_t>;

namespace {

std::shared_ptr<TotalVolume> glue(TotalVolume &base, TotalVolume &top, uint32_t dx = 0, uint32_t dy = 0,
                                  bool invert = false)
{
    const GlueLayout layout = GlueLayout::of(base, top);
    GlueSettings settings = layout.defaults();
    settings.dx = dx;
    settings.dy = dy;
    settings.invert = invert;
    EXPECT_TRUE(layout.accepts(settings));
    return glueVolumes(base, top, layout, settings);
}

} // namespace

TEST(GlueLayout, OccupiedBandsDefaultSizeAndRoomToShift)
{
    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = volumeOf(4, 3, 9, [](uint32_t x, uint32_t, uint32_t z) { return z >= 2 && z < 5 + x ? kOxide : 0u; });
    const GlueLayout layout = GlueLayout::of(*base, *top);
    EXPECT_EQ(layout.baseTop, 3u);
    EXPECT_TRUE(layout.topHasMaterial);
    EXPECT_EQ(layout.topBottom, 2u);
    EXPECT_EQ(layout.topTop, 8u); // the column x = 3 reaches z = 7
    EXPECT_EQ(layout.defaultSizeX, 10u);
    EXPECT_EQ(layout.defaultSizeY, 8u);
    EXPECT_EQ(layout.defaultSizeZ, 3u + 6u + 1u);
    EXPECT_EQ(layout.largestDisplacementX(), 6u);
    EXPECT_EQ(layout.largestDisplacementY(), 5u);

    // An empty base counts as one layer high; an empty top has no band.
    const GlueLayout emptyBoth = GlueLayout::of(*flatVolume(2, 2, 4, 0, 0), *flatVolume(2, 2, 4, 0, 0));
    EXPECT_EQ(emptyBoth.baseTop, 1u);
    EXPECT_FALSE(emptyBoth.topHasMaterial);
}

TEST(GlueLayout, RefusesSizesAndShiftsThatWouldWriteOutsideTheResult)
{
    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = flatVolume(4, 3, 5, 2, kOxide);
    const GlueLayout layout = GlueLayout::of(*base, *top);
    GlueSettings settings = layout.defaults();
    EXPECT_TRUE(layout.accepts(settings));
    settings.sizeZ = layout.defaultSizeZ - 1;
    std::string why;
    EXPECT_FALSE(layout.accepts(settings, &why));
    EXPECT_NE(why.find("smaller than the smallest"), std::string::npos) << why;
    settings = layout.defaults();
    settings.dx = 6;
    settings.dy = 5;
    EXPECT_TRUE(layout.accepts(settings));
    settings.dx = 7;
    EXPECT_FALSE(layout.accepts(settings, &why));
    EXPECT_NE(why.find("outside the final volume"), std::string::npos) << why;
    settings.sizeX = 11; // a wider result leaves room for it
    EXPECT_TRUE(layout.accepts(settings));
    settings.dx = 0xFFFFFFFFu; // must not wrap round into range
    EXPECT_FALSE(layout.accepts(settings));
    settings = layout.defaults();
    settings.sizeZ = 0xFFFFFFFFu;
    EXPECT_FALSE(layout.accepts(settings, &why));
    EXPECT_EQ(why.rfind("Volume too large.", 0), 0u) << why;
}

TEST(GlueSubstrate, TopLowestOccupiedLayerLandsOnTheBaseHighestOccupiedLayer)
{
    // Base: silicon below z = 2 and one stray cell at z = 4 in column (0, 0), so its top is 5;
    // the top's band is z = 3..4.
    auto base = volumeOf(3, 3, 8, [](uint32_t x, uint32_t y, uint32_t z) {
        return z < 2 || (x == 0 && y == 0 && z == 4) ? kSilicon : 0u;
    });
    auto top = flatVolume(3, 3, 8, 5, kOxide);
    for (uint32_t z = 0; z < 3; ++z)
        setMaterialAt(*top, 1, 1, z, kCopper);
    auto glued = glue(*base, *top);
    ASSERT_EQ(glued->sizeZ(), 5u + 5u + 1u);
    const uint32_t S = kSilicon, O = kOxide, C = kCopper;
    EXPECT_EQ(column(*glued, 0, 0), (V{S, S, 0, 0, S, O, O, O, O, O, 0}));
    EXPECT_EQ(column(*glued, 2, 1), (V{S, S, 0, 0, 0, O, O, O, O, O, 0}));
    EXPECT_EQ(column(*glued, 1, 1), (V{S, S, 0, 0, 0, C, C, C, O, O, 0}));
}

TEST(GlueSubstrate, InvertingTurnsTheTopOverAboutTheYAxis)
{
    // The top's band is z = 1..3 and each of its cells names its x and z (100 + 10·x + z); it is
    // 3 wide, shifted by 2 on a base of width 5 whose top is at z = 2.
    auto base = flatVolume(5, 2, 4, 2, kSilicon);
    auto top = volumeOf(3, 2, 6, [](uint32_t x, uint32_t, uint32_t z) { return z >= 1 && z <= 3 ? 100 + 10 * x + z : 0u; });
    auto glued = glue(*base, *top, 2, 0, true);
    ASSERT_EQ(glued->sizeX(), 5u);
    ASSERT_EQ(glued->sizeZ(), 2u + 3u + 1u);
    const uint32_t S = kSilicon;
    for (uint32_t y = 0; y < 2; ++y) {
        EXPECT_EQ(column(*glued, 0, y), (V{S, S, 0, 0, 0, 0}));
        EXPECT_EQ(column(*glued, 1, y), (V{S, S, 0, 0, 0, 0}));
        // Top x = 2, highest layer first.
        EXPECT_EQ(column(*glued, 2, y), (V{S, S, 123, 122, 121, 0}));
        EXPECT_EQ(column(*glued, 3, y), (V{S, S, 113, 112, 111, 0}));
        EXPECT_EQ(column(*glued, 4, y), (V{S, S, 103, 102, 101, 0}));
    }
    // Not inverted, the same top keeps its order and its x.
    auto upright = glue(*base, *top, 2, 0, false);
    EXPECT_EQ(column(*upright, 2, 1), (V{kSilicon, kSilicon, 101, 102, 103, 0}));
    EXPECT_EQ(column(*upright, 4, 1), (V{kSilicon, kSilicon, 121, 122, 123, 0}));
}

TEST(GlueSubstrate, NarrowTopShiftedByTheLargestDisplacementEndsFlushWithTheFarSides)
{
    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = flatVolume(4, 3, 5, 2, kOxide);
    const GlueLayout layout = GlueLayout::of(*base, *top);
    auto glued = glue(*base, *top, layout.largestDisplacementX(), layout.largestDisplacementY());
    ASSERT_EQ(std::make_tuple(glued->sizeX(), glued->sizeY(), glued->sizeZ()), std::make_tuple(10u, 8u, 6u));
    CoreTest::expectCells(*glued, [](uint32_t x, uint32_t y, uint32_t z) {
        return z < 3 ? kSilicon : z < 5 && x >= 6 && y >= 5 ? kOxide : 0u;
    });
}

TEST(GlueSubstrate, ResultSitsAtTheBaseOriginWithTheLargerCellLengthPerAxis)
{
    auto base = std::make_shared<TotalVolume>(2, 2, 2, 1.f, 3.f, 0.5f, Util::Vector3D(3, -4, 5),
                                              std::vector<uint32_t>(8, kSilicon));
    auto top = std::make_shared<TotalVolume>(2, 2, 2, 2.f, 1.f, 0.25f, Util::Vector3D(50, 0, 0),
                                             std::vector<uint32_t>(8, kOxide));
    auto glued = glue(*base, *top);
    EXPECT_EQ(glued->origin(), Util::Vector3D(3, -4, 5));
    EXPECT_EQ(glued->cellSizeX(), 2.f);
    EXPECT_EQ(glued->cellSizeY(), 3.f);
    EXPECT_EQ(glued->cellSizeZ(), 0.5f);
    EXPECT_EQ(glued->sizeZ(), 5u);
}

TEST(GlueSubstrate, WideInvertedAndShiftedGlueGivesTheSameCellsForEveryThreadCount)
{
    // Wide enough for eight slabs of each volume; every cell of both volumes distinct enough that
    // a slab copied to the wrong place would show.
    auto base = volumeOf(40, 6, 9, [](uint32_t x, uint32_t y, uint32_t z) { return z <= (x + y) % 5 ? 1 + x : 0u; });
    auto top = volumeOf(24, 5, 7, [](uint32_t x, uint32_t y, uint32_t z) {
        return z >= 1 && z <= 1 + (x * 3 + y) % 4 ? 1000 + 10 * x + y : 0u;
    });
    // Spot checks by hand: base column (39, 0) holds 40 up to z = 4 (39 mod 5 = 4); top column
    // (0, 0) holds 1000 at z = 1 only and lands, turned over, at x = 16 + 23 = 39, y = 1, at
    // baseTop + (topTop − 1 − 1) = 5 + 3 = 8 (the top's band is z = 1..4, the base's top z = 4).
    auto glued = glue(*base, *top, 16, 1, true);
    EXPECT_EQ(materialAt(*glued, 39, 0, 4), 40u);
    EXPECT_EQ(materialAt(*glued, 39, 1, 8), 1000u);
    EXPECT_EQ(materialAt(*glued, 39, 1, 7), 0u);
    CoreTest::sameForEveryThreadCount([&] { return materialsOf(*glue(*base, *top, 16, 1, true)); });
}

TEST(GlueSubstrate, AVolumeGluedOntoItselfIsStackedOnceMore)
{
    // The operation never asks for it, but the step itself must not lock the volume twice.
    auto volume = flatVolume(4, 4, 6, 2, kSilicon);
    auto glued = glue(*volume, *volume);
    ASSERT_EQ(glued->sizeZ(), 2u + 2u + 1u);
    EXPECT_EQ(column(*glued, 3, 3), (V{kSilicon, kSilicon, kSilicon, kSilicon, 0}));
}
