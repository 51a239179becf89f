// Photolithography: which runs of resist dissolve for each mask, negative resist, thread counts,
// slabs; and the masks the operation shows on the volume while its dialog is open.

#include "../CellChecks.h"
#include "../StepRun.h"

#include "Core/Operations/Photolithography/Photolithography.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "Model/Materials/MaterialIds.h"

#include "common/Cells.h"
#include "common/Masks.h"
#include "common/Materials.h"

#include <gtest/gtest.h>

using namespace TestSupport;
using Core::Operations::Photolithography;
using Core::Operations::PhotolithographyOperation;
using Core::Operations::developPhotoresist;
using Model::Masks::ImageMask;

namespace {

constexpr uint32_t kPositive = 11; // "Photoresist +"
constexpr uint32_t kNegative = Model::Materials::kNegativePhotoresistMaterial;

ImageMask fullMask(uint32_t width, uint32_t height, bool opaque)
{
    return maskOf(width, height, [opaque](uint32_t, uint32_t) { return opaque; });
}

// Silicon z < 2, resist 2 <= z < 5, empty above.
std::shared_ptr<TotalVolume> resistOnSilicon(uint32_t sx, uint32_t sy, uint32_t resist)
{
    return volumeOf(sx, sy, 8, [resist](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : z < 5 ? resist : 0u; });
}

} // namespace

TEST(Photolithography, ImageRowsMapToColumnsWithoutScalingAndOutsideColumnsAreExposed)
{
    auto volume = resistOnSilicon(5, 5, kPositive);
    // A 2 x 3 mask covering only its column (1, 2).
    developPhotoresist(*volume, kPositive, ImageMask(),
                       maskOf(2, 3, [](uint32_t x, uint32_t y) { return x == 1 && y == 2; }));
    CoreTest::expectCells(*volume, [](uint32_t x, uint32_t y, uint32_t z) {
        return z < 2 ? kSilicon : z < 5 && x == 1 && y == 2 ? kPositive : 0u;
    });

    // A 1 x 1 clear image exposes its own column and, being outside it, every other.
    auto second = resistOnSilicon(3, 3, kPositive);
    developPhotoresist(*second, kPositive, ImageMask(), fullMask(1, 1, false));
    const auto cells = materialsOf(*second);
    EXPECT_EQ(std::count(cells.begin(), cells.end(), kPositive), 0);
}

TEST(Photolithography, DarkMaskKeepsPositiveResistAndDissolvesNegativeResist)
{
    auto positive = resistOnSilicon(4, 4, kPositive);
    const auto before = materialsOf(*positive);
    developPhotoresist(*positive, kPositive, ImageMask(), fullMask(4, 4, true));
    EXPECT_EQ(materialsOf(*positive), before);
    auto negative = resistOnSilicon(4, 4, kNegative);
    developPhotoresist(*negative, kNegative, ImageMask(), fullMask(4, 4, true));
    CoreTest::expectCells(*negative, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : 0u; });

    // The inversion stops at the image: beyond it the negative resist is exposed too.
    auto partial = resistOnSilicon(4, 4, kNegative);
    developPhotoresist(*partial, kNegative, ImageMask(), fullMask(2, 4, false));
    for (uint32_t x = 0; x < 4; ++x)
        EXPECT_EQ(countInColumn(*partial, x, 0, kNegative), x < 2 ? 3u : 0u) << x;
}

TEST(Photolithography, OnlyRunsFacingEmptySpaceAtTheirLitEndDissolve)
{
    // Column by z: silicon 0, resist 1-2, oxide 3, resist 4-5, empty 6-7 in x = 0;
    // in x = 1 the oxide caps the upper run too (resist 1-2, oxide 3, resist 4-5, oxide 6).
    auto volume = volumeOf(2, 1, 8, [](uint32_t x, uint32_t, uint32_t z) {
        if (z == 0)
            return kSilicon;
        if (z == 3 || (x == 1 && z == 6))
            return kOxide;
        return z < 6 ? kPositive : 0u;
    });
    developPhotoresist(*volume, kPositive, ImageMask(), ImageMask());
    EXPECT_EQ(materialAt(*volume, 0, 0, 1), kPositive);
    EXPECT_EQ(materialAt(*volume, 0, 0, 2), kPositive);
    EXPECT_EQ(materialAt(*volume, 0, 0, 4), 0u);
    EXPECT_EQ(materialAt(*volume, 0, 0, 5), 0u);
    EXPECT_EQ(countInColumn(*volume, 1, 0, kPositive), 4u) << "capped resist is not developed from the top";
}

TEST(Photolithography, LightFromBelowDissolvesRunsHangingOverEmptySpace)
{
    // Resist 3-5 over empty 0-2 in every column; top fully covered so only the bottom mask counts.
    auto volume = volumeOf(4, 1, 7, [](uint32_t, uint32_t, uint32_t z) { return z >= 3 && z < 6 ? kPositive : 0u; });
    const ImageMask bottom = maskOf(4, 1, [](uint32_t x, uint32_t) { return x % 2 == 1; });
    developPhotoresist(*volume, kPositive, bottom, fullMask(4, 1, true));
    for (uint32_t x = 0; x < 4; ++x)
        EXPECT_EQ(countInColumn(*volume, x, 0, kPositive), x % 2 == 1 ? 3u : 0u) << x;

    // A run standing on the floor of the volume has no empty space below it.
    auto floor = resistOnSilicon(2, 2, kPositive);
    developPhotoresist(*floor, kPositive, ImageMask(), fullMask(2, 2, true));
    EXPECT_EQ(countInColumn(*floor, 0, 0, kPositive), 3u);
}

TEST(Photolithography, MaskWhoseBitCountDisagreesWithItsSizeIsIgnored)
{
    auto volume = resistOnSilicon(3, 3, kPositive);
    ImageMask broken = fullMask(3, 3, true);
    broken.bits.resize(8);
    const Photolithography automaton(*volume, kPositive, ImageMask(), broken);
    EXPECT_FALSE(automaton.coveredFromTop(0, 0));
    EXPECT_FALSE(automaton.coveredFromTop(2, 2));
}

TEST(Photolithography, SlabsAreOneBelowTwiceTheThreadCountAndTheLastTakesTheRest)
{
    using Util::Slab;
    EXPECT_EQ(Photolithography::slabs(7, 4), (std::vector<Slab>{{0, 7}}));
    EXPECT_EQ(Photolithography::slabs(8, 4), (std::vector<Slab>{{0, 2}, {2, 4}, {4, 6}, {6, 8}}));
    EXPECT_EQ(Photolithography::slabs(11, 3), (std::vector<Slab>{{0, 3}, {3, 6}, {6, 11}}));
    EXPECT_EQ(Photolithography::slabs(5, 0), (std::vector<Slab>{{0, 5}}));
}

TEST(Photolithography, SameCellsForEveryThreadCount)
{
    // Two resist layers between oxide and gaps, a patterned mask on each side; widths around
    // twice and three times each thread count.
    const auto material = [](uint32_t x, uint32_t y, uint32_t z) -> uint32_t {
        if (z == 0 && (x + y) % 3 == 0)
            return kSilicon;
        if (z >= 2 && z < 4)
            return kPositive;
        if (z == 4 && x % 4 == 1)
            return kOxide;
        if (z >= 6 && z < 9 && (x * 7 + y) % 5 != 0)
            return kPositive;
        return 0u;
    };
    const auto top = maskOf(20, 5, [](uint32_t x, uint32_t y) { return (x + 2 * y) % 3 == 0; });
    const auto bottom = maskOf(9, 6, [](uint32_t x, uint32_t y) { return (x * y) % 2 == 1; });
    for (uint32_t sizeX : {3u, 5u, 6u, 9u, 15u, 16u, 17u, 24u, 25u})
        CoreTest::sameForEveryThreadCount([&] {
            auto volume = volumeOf(sizeX, 5, 10, material);
            developPhotoresist(*volume, kPositive, bottom, top);
            return materialsOf(*volume);
        }, "size " + std::to_string(sizeX));
}

namespace {

// Silicon z < 2, positive resist 2 <= z < 4 in 6 × 4 × 6 cells, the only object of the scene.
struct PhotolithographyOperationTest : ::testing::Test, CoreTest::LoggedModel {
    PhotolithographyOperationTest() { model.scene().addObject(volume); }

    void start(std::function<void(PhotolithographyOperation &)> dialog)
    {
        CoreTest::startStep<PhotolithographyOperation>(model, dialog);
    }

    const ImageMask leftHalf = maskOf(6, 4, [](uint32_t x, uint32_t) { return x < 3; });
    std::shared_ptr<TotalVolume> volume =
        volumeOf(6, 4, 6, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : z < 4 ? kPositive : 0u; });
};

} // namespace

TEST_F(PhotolithographyOperationTest, MasksShowOnTheVolumeWhileTheDialogIsOpenAndGoAfterwards)
{
    auto repaints = std::make_shared<CountingObserver>();
    model.addUpdateObserver(repaints);
    start([&](PhotolithographyOperation &op) {
        const int before = repaints->count;
        op.setTopMask(leftHalf);
        EXPECT_GT(repaints->count, before) << "the view is asked to show the mask";
        EXPECT_EQ(volume->topMask(), leftHalf.bits);
        EXPECT_EQ(volume->topMaskA(), 6u);
        EXPECT_EQ(volume->topMaskB(), 4u);
        op.setBottomMask(leftHalf);
        EXPECT_EQ(volume->bottomMaskA(), 6u);
        op.setMaterial(kPositive);
    });
    EXPECT_EQ(log->last(), "Photolithography: Operation finished.");
    for (uint32_t x = 0; x < 6; ++x)
        EXPECT_EQ(countInColumn(*volume, x, 1, kPositive), x < 3 ? 2u : 0u) << x;
    EXPECT_EQ(volume->topMask().size(), 0);
    EXPECT_EQ(volume->topMaskA(), 0u);
    EXPECT_EQ(volume->bottomMask().size(), 0);

    // Developing silicon may change the crystal: the lattice is out of date afterwards.
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    start([](PhotolithographyOperation &op) { op.setMaterial(kSilicon); });
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(PhotolithographyOperationTest, MaskOfAnotherSizeIsKeptAndExplainedOnTheConsole)
{
    start([&](PhotolithographyOperation &op) {
        op.setTopMask(maskOf(4, 4, [](uint32_t x, uint32_t) { return x < 2; }));
        EXPECT_EQ(log->last(), "Photolithography: The top mask is 4 \u00d7 4 pixels and the volume 6 \u00d7 4 cells."
                               " Columns outside the mask are exposed.");
        op.setBottomMask(fullMask(8, 2, true));
        EXPECT_EQ(log->last(), "Photolithography: The bottom mask is 8 \u00d7 2 pixels and the volume 6 \u00d7 4 cells."
                               " Columns outside the mask are exposed. Pixels outside the volume are ignored.");
        const size_t lines = log->lines.size();
        op.setTopMask(ImageMask());
        op.setTopMask(leftHalf);
        EXPECT_EQ(log->lines.size(), lines) << "a fitting or removed mask needs no word";
        op.setMaterial(kPositive);
    });
    EXPECT_EQ(log->last(), "Photolithography: Operation finished.");
}

TEST_F(PhotolithographyOperationTest, DeclinedDialogTakesTheMasksOffTheVolume)
{
    start([&](PhotolithographyOperation &op) { op.setTopMask(leftHalf); });
    EXPECT_EQ(log->last(), "Photolithography: Operation Canceled!");
    EXPECT_EQ(volume->topMaskA(), 0u);
    EXPECT_EQ(volume->topMask().size(), 0);
}
