// Cuts: masked and counted cuts, taking them back, the reset, thread counts, the cut box; the
// three cut operations with undo and redo, console lines and the faces the painter builds.

#include "../CellChecks.h"
#include "../StepRun.h"
#include "Core/Operations/Cuts/CutBox.h"
#include "Core/Operations/Cuts/CutCellVolume.h"
#include "Core/Operations/Cuts/CutCellVolumeOperation.h"
#include "Core/Operations/Cuts/MaskedCutCellVolumeOperation.h"
#include "Core/Operations/Cuts/RemoveCutsFromVolumeOperation.h"
#include "Model/Automaton/TotalVolumePainter.h"

#include "common/Cells.h"
#include "common/Masks.h"
#include "common/Materials.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace TestSupport;
using namespace Core::Operations;
using Model::Masks::ImageMask;
using Counts = std::vector<uint32_t>;

namespace {

std::vector<uint32_t> cutCountsOf(TotalVolume &volume)
{
    return fieldOf(volume, [](const Model::Automaton::Cell &cell) { return cell.cutCount(); });
}

constexpr uint32_t kMixed = 999; // a column whose cells have different counts

// The cut count of each column (x, y) in index order, or kMixed.
std::vector<uint32_t> columnCutsOf(TotalVolume &volume)
{
    const auto counts = cutCountsOf(volume);
    std::vector<uint32_t> columns;
    for (auto c = counts.begin(); c != counts.end(); c += volume.sizeZ())
        columns.push_back(size_t(std::count(c, c + volume.sizeZ(), *c)) == volume.sizeZ() ? *c : kMixed);
    return columns;
}

ImageMask whiteMask(uint32_t width, uint32_t height)
{
    return maskOf(width, height, [](uint32_t, uint32_t) { return false; });
}

size_t opaqueFaceCount(TotalVolume &volume)
{
    volume.painter().update();
    return volume.painter().opaqueFaces().size();
}

// 3 × 2 × 2 cells of silicon, the only object of the scene.
struct CutOperationsTest : ::testing::Test, CoreTest::LoggedModel {
    CutOperationsTest() { model.scene().addObject(volume); }

    template <class Op> void start(std::function<void(Op &)> dialog = nullptr)
    {
        CoreTest::startStep<Op>(model, dialog);
    }
    void maskedCut(const ImageMask &mask)
    {
        start<MaskedCutCellVolumeOperation>([&](MaskedCutCellVolumeOperation &op) { op.setMask(mask); });
    }

    std::shared_ptr<TotalVolume> volume = flatVolume(3, 2, 2, 2, kSilicon);
    const ImageMask keepLeft = maskOf(3, 2, [](uint32_t x, uint32_t) { return x == 0; });
};

} // namespace

TEST(CutCellVolume, HidesEveryColumnTheMaskLeavesClearIncludingThoseBeyondTheImage)
{
    auto volume = flatVolume(3, 3, 2, 1, kSilicon);
    const auto materials = materialsOf(*volume);
    // A 2 × 2 image keeping its diagonal (0, 0) and (1, 1); x = 2 and y = 2 lie beyond it.
    const ImageMask mask = maskOf(2, 2, [](uint32_t x, uint32_t y) { return x == y; });
    cutMaskedColumns(*volume, mask);
    EXPECT_EQ(columnCutsOf(*volume), (Counts{0, 1, 1, 1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(materialsOf(*volume), materials) << "a cut changes no material";
}

TEST(CutCellVolume, AnEmptyOrInconsistentMaskKeepsNoColumn)
{
    auto volume = flatVolume(2, 2, 2, 2, kSilicon);
    cutMaskedColumns(*volume, ImageMask());
    EXPECT_EQ(cutCountsOf(*volume), Counts(8, 1u));
    ImageMask inconsistent = maskOf(2, 2, [](uint32_t, uint32_t) { return true; });
    inconsistent.height = 3; // 4 bits for 2 × 3 pixels: ignored
    cutMaskedColumns(*volume, inconsistent);
    EXPECT_EQ(cutCountsOf(*volume), Counts(8, 2u));
}

TEST(CutCellVolume, CutsCountUpAndUncutsTakeBackOnlyTheirOwnColumns)
{
    auto volume = flatVolume(4, 1, 3, 3, kSilicon);
    const ImageMask keepLeft = maskOf(4, 1, [](uint32_t x, uint32_t) { return x < 2; });  // cuts x = 2, 3
    const ImageMask keepOuter = maskOf(4, 1, [](uint32_t x, uint32_t) { return x != 1 && x != 2; }); // cuts x = 1, 2
    cutMaskedColumns(*volume, keepLeft);
    cutMaskedColumns(*volume, keepOuter);
    EXPECT_EQ(columnCutsOf(*volume), (Counts{0, 1, 2, 1}));
    // The hidden columns are the union of both cuts; taking one back leaves the other's.
    uncutMaskedColumns(*volume, keepLeft);
    EXPECT_EQ(columnCutsOf(*volume), (Counts{0, 1, 1, 0}));
    // Taking back more than was cut stops at 0.
    uncutMaskedColumns(*volume, keepOuter);
    uncutMaskedColumns(*volume, keepOuter);
    EXPECT_EQ(cutCountsOf(*volume), Counts(12, 0u));
}

TEST(CutCellVolume, CountsSaturateAt255AndResetClearsEveryCell)
{
    auto volume = flatVolume(2, 2, 2, 1, kSilicon);
    const ImageMask keepOne = maskOf(2, 2, [](uint32_t x, uint32_t y) { return x == 0 && y == 0; });
    for (int i = 0; i < 300; ++i)
        cutMaskedColumns(*volume, keepOne);
    EXPECT_EQ(columnCutsOf(*volume), (Counts{0, 255, 255, 255}));
    removeAllCuts(*volume);
    EXPECT_EQ(cutCountsOf(*volume), Counts(8, 0u));
}

TEST(CutCellVolume, SameCountsForEveryThreadCount)
{
    // Wide enough along x for several slabs; a mask that differs column by column.
    const ImageMask mask = maskOf(13, 5, [](uint32_t x, uint32_t y) { return (x * 7 + y * 3) % 5 < 2; });
    const ImageMask second = maskOf(17, 3, [](uint32_t x, uint32_t y) { return (x + y) % 3 == 0; });
    CoreTest::sameForEveryThreadCount([&] {
        auto volume = flatVolume(17, 6, 4, 2, kSilicon);
        cutMaskedColumns(*volume, mask);
        cutMaskedColumns(*volume, second);
        uncutMaskedColumns(*volume, mask);
        cutMaskedColumns(*volume, mask);
        return cutCountsOf(*volume);
    });
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
    const CutBox fitted = fitCutBox(CutBox{{2, 4, 7}, {9, 4, 0}}, sizes);
    EXPECT_EQ(fitted.lower, (std::array<uint32_t, 3>{{2, 3, 0}}));
    EXPECT_EQ(fitted.upper, (std::array<uint32_t, 3>{{6, 4, 1}}));
    const CutBox inside{{1, 0, 2}, {3, 4, 5}};
    EXPECT_TRUE(sameBox(fitCutBox(inside, sizes), inside));
}

TEST_F(CutOperationsTest, MaskedCutHidesTheClearColumnsAndLeavesTheDocumentUnchanged)
{
    const auto materials = materialsOf(*volume);
    start<MaskedCutCellVolumeOperation>([&](MaskedCutCellVolumeOperation &op) {
        op.showMask(keepLeft);
        EXPECT_EQ(volume->topMaskA(), 3u) << "the mask shows over the volume while the dialog is open";
        EXPECT_EQ(volume->topMaskB(), 2u);
        op.setMask(keepLeft);
    });
    EXPECT_EQ(log->lines, (std::vector<std::string>{"Masked Cut: Cell volume selected.", "Masked Cut: Cut planes changed."}));
    EXPECT_EQ(columnCutsOf(*volume), (Counts{0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(materialsOf(*volume), materials);
    EXPECT_EQ(volume->topMaskA(), 0u) << "the overlay goes with the dialog";
    EXPECT_EQ(volume->topMask().size(), 0);
    EXPECT_EQ(model.undoRedo().undoName(), "Masked Cut");
    EXPECT_FALSE(model.isModified()) << "a cut hides cells; a save would write the same document";
}

TEST_F(CutOperationsTest, CountedCutsAreUndoneAndRedoneExactly)
{
    const ImageMask keepFront = maskOf(3, 2, [](uint32_t, uint32_t y) { return y == 0; });
    maskedCut(keepLeft);
    const auto afterFirst = cutCountsOf(*volume);
    maskedCut(keepFront);
    maskedCut(keepFront);
    const auto afterAll = cutCountsOf(*volume);
    // Columns (x, y): (0,0) kept by both; (0,1) cut twice by keepFront; (x>0, 0) once by keepLeft.
    EXPECT_EQ(columnCutsOf(*volume), (Counts{0, 2, 1, 3, 1, 3}));
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(columnCutsOf(*volume), (Counts{0, 1, 1, 2, 1, 2})) << "one undo leaves a repeated cut's columns hidden";
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(cutCountsOf(*volume), afterFirst);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(cutCountsOf(*volume), Counts(12, 0u));
    EXPECT_EQ(model.undoRedo().undoName(), "");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(cutCountsOf(*volume), afterAll);
    EXPECT_FALSE(model.isModified());
}

TEST_F(CutOperationsTest, HiddenColumnsLoseTheirFacesAndTheirNeighboursShowFacesTowardThem)
{
    const size_t whole = opaqueFaceCount(*volume);
    // The outside of a 3 × 2 × 2 box of unit cells; an all-white mask hides it all.
    EXPECT_EQ(whole, 2u * (3 * 2 + 3 * 2 + 2 * 2));
    maskedCut(whiteMask(3, 2));
    EXPECT_EQ(opaqueFaceCount(*volume), 0u);
    model.undoRedo().undo();
    EXPECT_EQ(opaqueFaceCount(*volume), whole);

    // A bar of three cells has 14 faces; without the middle one, two separate cubes have 12.
    auto row = flatVolume(3, 1, 1, 1, kSilicon);
    model.scene().addObject(row);
    EXPECT_EQ(opaqueFaceCount(*row), 14u);
    model.selectionMode().toggleObject(row->objectId());
    maskedCut(maskOf(3, 1, [](uint32_t x, uint32_t) { return x != 1; }));
    EXPECT_EQ(opaqueFaceCount(*row), 12u);
}

TEST_F(CutOperationsTest, AMaskOfAnotherSizeOrNoneIsExplainedBeforeTheCut)
{
    start<MaskedCutCellVolumeOperation>([&](MaskedCutCellVolumeOperation &op) {
        op.showMask(maskOf(2, 2, [](uint32_t, uint32_t) { return true; }));
        EXPECT_EQ(log->last(), "Masked Cut: The mask is 2 \u00d7 2 pixels and the volume 3 \u00d7 2 cells."
                               " Columns outside the mask are cut.");
        op.showMask(maskOf(4, 1, [](uint32_t, uint32_t) { return true; }));
        EXPECT_EQ(log->last(), "Masked Cut: The mask is 4 \u00d7 1 pixels and the volume 3 \u00d7 2 cells."
                               " Columns outside the mask are cut. Pixels outside the volume are ignored.");
        op.showMask(ImageMask());
        EXPECT_EQ(log->last(), "Masked Cut: Without a mask every column is cut.");
        const size_t lines = log->lines.size();
        op.showMask(maskOf(3, 2, [](uint32_t, uint32_t) { return true; }));
        op.setMask(maskOf(3, 2, [](uint32_t, uint32_t) { return true; }));
        EXPECT_EQ(log->lines.size(), lines) << "a fitting mask needs no word, and setting it once shown none either";
    });
    EXPECT_EQ(log->last(), "Masked Cut: Cut planes changed.");
    EXPECT_EQ(cutCountsOf(*volume), Counts(12, 0u));
}

TEST_F(CutOperationsTest, DecliningTheMaskDialogCutsNothingAndTakesTheOverlayOff)
{
    start<MaskedCutCellVolumeOperation>(
        [&](MaskedCutCellVolumeOperation &op) { op.showMask(whiteMask(3, 2)); }); // applied, then Cancel
    EXPECT_EQ(log->last(), "Masked Cut: Operation Canceled!");
    EXPECT_EQ(cutCountsOf(*volume), Counts(12, 0u));
    EXPECT_EQ(volume->topMaskA(), 0u);
    EXPECT_EQ(volume->topMask().size(), 0);
    EXPECT_EQ(model.undoRedo().undoName(), "");
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST_F(CutOperationsTest, RemoveCutsClearsEveryCountAndLeavesTheUndoStackAlone)
{
    maskedCut(keepLeft);
    maskedCut(whiteMask(1, 1));
    volume->setTopMask(QBitArray(6, true), 3, 2);
    start<RemoveCutsFromVolumeOperation>();
    EXPECT_EQ(log->lines.back(), "Remove Cuts: Cut planes changed.");
    EXPECT_TRUE(log->contains("Remove Cuts: Cell volume selected."));
    EXPECT_EQ(cutCountsOf(*volume), Counts(12, 0u));
    EXPECT_EQ(volume->topMaskA(), 0u);
    EXPECT_EQ(model.undoRedo().undoName(), "Masked Cut") << "removing is not undoable";
    EXPECT_FALSE(model.isModified());

    // The cuts on the stack still act on their own columns; an undo below 0 stays at 0.
    model.undoRedo().undo();
    EXPECT_EQ(cutCountsOf(*volume), Counts(12, 0u));
    model.undoRedo().redo();
    EXPECT_EQ(columnCutsOf(*volume), Counts(6, 1u));
}

TEST_F(CutOperationsTest, CutPlanesAroundOneXLayerShowAOneCellSlice)
{
    auto slab = flatVolume(6, 4, 3, 3, kSilicon);
    model.scene().addObject(slab);
    model.selectionMode().toggleObject(slab->objectId());
    auto repaints = std::make_shared<CountingObserver>();
    model.addUpdateObserver(repaints);
    start<CutCellVolumeOperation>([&](CutCellVolumeOperation &op) {
        EXPECT_EQ(op.volumeSizes(), (std::array<uint32_t, 3>{{6, 4, 3}}));
        EXPECT_TRUE(sameBox(op.shownBox(), CutBox{{0, 0, 0}, {6, 4, 3}}));
        const int before = repaints->count;
        op.setCutPlanes(CutBox{{3, 0, 0}, {4, 4, 3}}, true);
        EXPECT_GT(repaints->count, before) << "a rebuild asked for shows at once";
    });
    EXPECT_EQ(log->lines.back(), "Change Cut Planes: Cut planes changed.");
    const auto box = slab->painter().cutLimits();
    EXPECT_EQ(box.lower, (std::array<uint32_t, 3>{{3, 0, 0}}));
    EXPECT_EQ(box.upper, (std::array<uint32_t, 3>{{4, 4, 3}}));
    // A 1 × 4 × 3 slab of cells: 2·(4·3) + 2·(1·3) + 2·(1·4) faces, all within 3 <= x <= 4.
    EXPECT_EQ(opaqueFaceCount(*slab), 38u);
    for (const auto &face : slab->painter().opaqueFaces())
        for (const auto &corner : face.vertices) {
            EXPECT_GE(corner[0], 3.f);
            EXPECT_LE(corner[0], 4.f);
        }
    EXPECT_EQ(model.undoRedo().undoName(), "") << "cut planes are not undoable";
    EXPECT_FALSE(model.isModified());
}

TEST_F(CutOperationsTest, APreviewedBoxIsPutBackWhenTheDialogIsDeclined)
{
    const uint32_t lower[3] = {1, 0, 0};
    const uint32_t upper[3] = {3, 2, 2};
    volume->painter().setCutLimits(lower, upper);
    start<CutCellVolumeOperation>([&](CutCellVolumeOperation &op) {
        op.previewCutPlanes(CutBox{{0, 1, 1}, {1, 2, 2}});
        EXPECT_TRUE(sameBox(volume->painter().cutLimits(), CutBox{{0, 1, 1}, {1, 2, 2}}));
        op.previewCutPlanes(CutBox{{2, 0, 0}, {9, 9, 9}});
        EXPECT_TRUE(sameBox(volume->painter().cutLimits(), CutBox{{2, 0, 0}, {3, 2, 2}}))
            << "limits beyond the volume are fitted to it";
    });
    EXPECT_EQ(log->last(), "Change Cut Planes: Operation Canceled!");
    EXPECT_TRUE(sameBox(volume->painter().cutLimits(), CutBox{{1, 0, 0}, {3, 2, 2}}));
}

TEST_F(CutOperationsTest, CutPlanesSetWithoutRebuildRefreshTheViewWhenFinishing)
{
    auto repaints = std::make_shared<CountingObserver>();
    model.addUpdateObserver(repaints);
    int whileOpen = 0;
    start<CutCellVolumeOperation>([&](CutCellVolumeOperation &op) {
        whileOpen = repaints->count;
        op.setCutPlanes(CutBox{{0, 0, 1}, {3, 2, 2}}, false);
        EXPECT_EQ(repaints->count, whileOpen);
    });
    EXPECT_GT(repaints->count, whileOpen);
    EXPECT_EQ(log->last(), "Change Cut Planes: Cut planes changed.");
    // Only the upper layer is shown: a 3 × 2 × 1 box.
    EXPECT_EQ(opaqueFaceCount(*volume), 2u * (3 * 2 + 3 * 1 + 2 * 1));
}
