// Taking one connected film out of a volume: which cells belong to it, turning it over, dropping
// it to the bottom; and "Extract Film" through the application model.

#include "../CellChecks.h"
#include "../StepRun.h"
#include "Core/Operations/FilmExtraction/ExtractFilm.h"
#include "Core/Operations/FilmExtraction/FilmExtraction.h"
#include "common/Materials.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

// Cells of `material` in the volume, as (x, y, z) triples in index order.
std::vector<std::array<uint32_t, 3>> cellsOf(TotalVolume &volume, uint32_t material)
{
    std::vector<std::array<uint32_t, 3>> out;
    for (uint32_t x = 0; x < volume.sizeX(); ++x)
        for (uint32_t y = 0; y < volume.sizeY(); ++y)
            for (uint32_t z = 0; z < volume.sizeZ(); ++z)
                if (materialAt(volume, x, y, z) == material)
                    out.push_back({x, y, z});
    return out;
}

// A 6 × 5 × 20 volume: silicon below z = 10, oxide at z = 10..12 over the whole area.
std::shared_ptr<TotalVolume> filmOnSubstrate()
{
    return volumeOf(6, 5, 20, [](uint32_t, uint32_t, uint32_t z) { return z < 10 ? kSilicon : z <= 12 ? kOxide : 0u; });
}

} // namespace

TEST(FilmExtraction, LayerAtTenToTwelveComesOutAtZeroToTwo)
{
    auto source = filmOnSubstrate();
    const auto before = materialsOf(*source);
    auto film = extractFilm(*source, kOxide, false);
    ASSERT_EQ(std::make_tuple(film->sizeX(), film->sizeY(), film->sizeZ()), std::make_tuple(6u, 5u, 20u));
    CoreTest::expectCells(*film, [](uint32_t, uint32_t, uint32_t z) { return z <= 2 ? kOxide : 0u; });
    EXPECT_EQ(materialsOf(*source), before); // the source keeps its film
}

TEST(FilmExtraction, OnlyThePieceHoldingTheFirstCellComesOutAndEdgeContactDoesNotConnect)
{
    // Piece A: an L of three cells starting at (1, 2, 3); piece B touches A only along an edge
    // (from (2, 3, 3)); piece C touches A only at a corner (at (0, 1, 2)); piece D lies apart
    // and lower, but later in index order.
    auto source = flatVolume(5, 5, 6, 0, 0);
    for (auto c : {std::array<uint32_t, 3>{1, 2, 3}, {1, 2, 4}, {1, 3, 4}}) // A
        setMaterialAt(*source, c[0], c[1], c[2], kOxide);
    setMaterialAt(*source, 2, 3, 3, kOxide); // B: shares only the edge x = 1..2, y = 2..3 at z = 3 with A
    setMaterialAt(*source, 0, 1, 2, kOxide); // C: shares only a corner with (1, 2, 3)
    setMaterialAt(*source, 4, 4, 0, kOxide); // D
    setMaterialAt(*source, 1, 2, 2, kSilicon); // another material under A is not taken

    // C at (0, 1, 2) is first in index order, so C alone comes out, dropped by 2.
    auto film = extractFilm(*source, kOxide, false);
    EXPECT_EQ(cellsOf(*film, kOxide), (std::vector<std::array<uint32_t, 3>>{{0, 1, 0}}));
    EXPECT_TRUE(cellsOf(*film, kSilicon).empty());

    // Without C, A is first: its three cells, dropped by 3; B and D stay behind.
    setMaterialAt(*source, 0, 1, 2, 0);
    film = extractFilm(*source, kOxide, false);
    EXPECT_EQ(cellsOf(*film, kOxide), (std::vector<std::array<uint32_t, 3>>{{1, 2, 0}, {1, 2, 1}, {1, 3, 1}}));
}

TEST(FilmExtraction, InvertedFilmIsMirroredInYAndDropped)
{
    // The film at z = 10..12 is thicker at y = 0 (it reaches z = 13 there) and has a silicon
    // plug at (2, 4, 10). Turned over in a volume 20 high, z = 10..13 maps to z = 9..6, then the
    // drop by 6 puts it at z = 0..3: the thick row (now y = 4) at the bottom, z = 0..3, the rest
    // at z = 1..3, and the plug's place (now (2, 0, 9) → (2, 0, 3)) left empty.
    auto source = filmOnSubstrate();
    for (uint32_t x = 0; x < 6; ++x)
        setMaterialAt(*source, x, 0, 13, kOxide);
    setMaterialAt(*source, 2, 4, 10, kSilicon);
    CoreTest::expectCells(*extractFilm(*source, kOxide, true), [](uint32_t x, uint32_t y, uint32_t z) {
        const bool plug = x == 2 && y == 0 && z == 3;
        return !plug && z <= 3 && (y == 4 || z >= 1) ? kOxide : 0u;
    });
}

TEST(FilmExtraction, MaterialThatIsAbsentGivesAnEmptyVolume)
{
    auto film = extractFilm(*filmOnSubstrate(), kCopper, false);
    EXPECT_EQ(materialsOf(*film), std::vector<uint32_t>(6 * 5 * 20, 0));
}

namespace {

struct ExtractFilmOperation : ::testing::Test, CoreTest::LoggedModel {
    ExtractFilmOperation() { model.scene().addObject(source); }

    std::shared_ptr<ExtractFilm> start(uint32_t material, bool invert, bool declined = false)
    {
        return CoreTest::startStep<ExtractFilm>(model, [=](ExtractFilm &op) {
            if (!declined)
                op.setMaterial(material), op.setInvert(invert);
        });
    }

    // Cells 2 long in y, so the new volume is placed by the largest cell length, 2.
    std::shared_ptr<TotalVolume> source = std::make_shared<TotalVolume>(
        6, 5, 20, 1.f, 2.f, 0.5f, Util::Vector3D(1, 2, 3), materialsOf(*filmOnSubstrate()));
};

} // namespace

TEST_F(ExtractFilmOperation, NewVolumeLiesBesideTheSourceAndUndoRemovesIt)
{
    auto op = start(kOxide, false);
    EXPECT_EQ(log->last(), "Extract Film: select a cell volume and press Enter/Return.");
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    select(source);
    model.inputRequest().submit("");
    EXPECT_TRUE(log->contains("Extract Film: cell volume selected."));
    EXPECT_EQ(log->last(), "Extract Film: film extracted.");
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
    EXPECT_EQ(model.undoRedo().undoName(), "Extract Film");
    auto film = op->extractedVolume();
    ASSERT_TRUE(film);
    auto objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 2);
    EXPECT_EQ(objects[0], source);
    EXPECT_EQ(objects[1], film);
    EXPECT_EQ(film->origin(), Util::Vector3D(1 + (6 + 10) * 2, 2, 3));
    EXPECT_EQ(source->origin(), Util::Vector3D(1, 2, 3));
    EXPECT_EQ(film->cellSizeY(), 2.f);
    EXPECT_EQ(countInColumn(*film, 0, 0, kOxide), 3u);
    EXPECT_EQ(materialAt(*film, 0, 0, 0), kOxide);
    EXPECT_EQ(countInColumn(*source, 0, 0, kOxide), 3u);
    const auto filmCells = materialsOf(*film);
    ASSERT_TRUE(model.undoRedo().undo());
    objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects.front(), source);
    ASSERT_TRUE(model.undoRedo().redo());
    objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 2);
    EXPECT_EQ(objects[1], film);
    EXPECT_EQ(materialsOf(*film), filmCells);
}

TEST_F(ExtractFilmOperation, SelectedVolumeIsTakenAtOnceAndInvertedOnRequest)
{
    select(source);
    auto op = start(kSilicon, true);
    EXPECT_EQ(log->last(), "Extract Film: film extracted.");
    auto film = op->extractedVolume();
    ASSERT_TRUE(film);
    // Silicon at z = 0..9 of 20, turned over, lands at 10..19 and drops back to 0..9.
    EXPECT_EQ(countInColumn(*film, 4, 4, kSilicon), 10u);
    EXPECT_EQ(materialAt(*film, 4, 4, 9), kSilicon);
    EXPECT_EQ(materialAt(*film, 4, 4, 10), 0u);
}

TEST_F(ExtractFilmOperation, DeclinedDialogOrEmptyMaterialCancels)
{
    // The scene's only volume is not taken unless it is selected.
    start(kOxide, false);
    EXPECT_EQ(log->last(), "Extract Film: select a cell volume and press Enter/Return.");
    model.cancelCurrent();
    EXPECT_EQ(log->last(), "Extract Film: Operation canceled.");
    select(source);
    start(kOxide, false, true);
    EXPECT_EQ(log->last(), "Extract Film: Operation canceled.");
    EXPECT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    select(source);
    start(0, false);
    EXPECT_TRUE(log->contains("Extract Film: empty space is not a film; choose a material to extract."));
    EXPECT_EQ(log->last(), "Extract Film: Operation canceled.");
    EXPECT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.currentOperation(), nullptr);
}
