// Thermal oxidation: Deal–Grove against dry-oxygen data, the split of the oxide above and below
// the surface, covers, thread counts, and the operation's time or thickness.

#include "../CellChecks.h"
#include "../StepRun.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidation.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidationOperation.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;
using CoreTest::column;

namespace {

constexpr double kDryOxideAt1000C = 0.0714; // µm after one hour at 1 atm
constexpr double kDryOxideAt1100C = 0.130;  // µm
constexpr double kLawTolerance = 0.0005;    // µm
constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;

// Silicon below z = siliconTop, empty above, cells sx × sy × sz length units.
std::shared_ptr<TotalVolume> flatSilicon(uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ, uint32_t siliconTop,
                                         float cellX = 1.f, float cellZ = 1.f)
{
    std::vector<uint32_t> materials(size_t(sizeX) * sizeY * sizeZ, 0u);
    for (size_t i = 0; i < materials.size(); ++i)
        materials[i] = i % sizeZ < siliconTop ? kSilicon : 0u;
    return std::make_shared<TotalVolume>(sizeX, sizeY, sizeZ, cellX, cellX, cellZ, Util::Vector3D(), materials);
}

// `silicon` cells of silicon, then `oxide` of oxide, the rest empty.
std::vector<uint32_t> stack(uint32_t sizeZ, uint32_t silicon, uint32_t oxide)
{
    std::vector<uint32_t> out(sizeZ, 0u);
    for (uint32_t z = 0; z < silicon + oxide && z < sizeZ; ++z)
        out[z] = z < silicon ? kSilicon : kOxide;
    return out;
}

const std::vector<uint32_t> kSiliconOnly = {kSilicon};

} // namespace

TEST(DealGrove, MatchesTheDryOxygenDataStartsFromTheInitialOxideAndGrowsWithTimeAndPressure)
{
    EXPECT_NEAR(SimpleSiOxidation::dealGroveThickness(1.0, 1273.15, 1.0), kDryOxideAt1000C, kLawTolerance);
    EXPECT_NEAR(SimpleSiOxidation::dealGroveThickness(1.0, 1373.15, 1.0), kDryOxideAt1100C, kLawTolerance);
    for (double kelvin : {1073.15, 1273.15, 1473.15})
        EXPECT_NEAR(SimpleSiOxidation::dealGroveThickness(0.0, kelvin, 1.0), 0.025, 1e-9) << kelvin;
    const double oneHour = SimpleSiOxidation::dealGroveThickness(1.0, 1273.15, 1.0);
    EXPECT_GT(SimpleSiOxidation::dealGroveThickness(4.0, 1273.15, 1.0), oneHour);
    EXPECT_GT(SimpleSiOxidation::dealGroveThickness(1.0, 1273.15, 2.0), oneHour);
    // Long times reach the parabolic regime: x² ≈ B·t, so four times the time doubles the oxide.
    const double ratio = SimpleSiOxidation::dealGroveThickness(4000.0, 1273.15, 1.0)
                         / SimpleSiOxidation::dealGroveThickness(1000.0, 1273.15, 1.0);
    EXPECT_NEAR(ratio, 2.0, 0.02);
}

TEST(SimpleSiOxidation, ThicknessSplitsBetweenTheSpaceAboveAndTheSiliconBelow)
{
    // A surface cell stands half a cell from the surface; each further cell adds one length.
    // D = x·c = 10: empty cells at 1.5 … 5.5 ≤ 5.6 above (5 cells), silicon at 0.5 … 3.5 ≤ 4.4
    // below (4 cells).
    auto volume = flatSilicon(5, 4, 30, 10);
    SimpleSiOxidation(*volume, 2.0, kSiliconOnly).growByThickness(5.0);
    CoreTest::expectCells(*volume, [](uint32_t, uint32_t, uint32_t z) { return stack(30, 6, 9)[z]; });

    // Flat cells (1 × 1 × 0.35 units) and D = 3.5: the same split, 1.96 up and 1.54 down.
    auto flat = flatSilicon(4, 4, 40, 20, 1.f, 0.35f);
    SimpleSiOxidation(*flat, 1.0, kSiliconOnly).growByThickness(3.5);
    EXPECT_EQ(column(*flat, 2, 1), stack(40, 16, 9));
}

TEST(SimpleSiOxidation, NothingGrowsWithoutAThicknessOrAnExposedSurface)
{
    auto volume = flatSilicon(4, 4, 12, 6);
    const auto before = materialsOf(*volume);
    SimpleSiOxidation(*volume, 1.0, kSiliconOnly).growByThickness(0.0);
    SimpleSiOxidation(*volume, 0.0, kSiliconOnly).growByThickness(5.0);
    EXPECT_EQ(materialsOf(*volume), before);

    // Silicon that meets no empty cell anywhere, and silicon that is not in the oxidisable set.
    auto solid = flatSilicon(4, 4, 6, 6);
    const auto solidBefore = materialsOf(*solid);
    SimpleSiOxidation(*solid, 1.0, kSiliconOnly).growByThickness(5.0);
    EXPECT_EQ(materialsOf(*solid), solidBefore);
    SimpleSiOxidation(*volume, 1.0, {kAluminium}).growByThickness(5.0);
    EXPECT_EQ(materialsOf(*volume), before);
}

TEST(SimpleSiOxidation, ACoverThatDoesNotOxidiseKeepsTheSiliconBelowItAndOnlyItsEdgeIsUndercut)
{
    // Silicon below z = 10; aluminium on it for x < 8. D = 4: 2.24 up, 1.76 down.
    auto volume = volumeOf(16, 3, 20, [](uint32_t x, uint32_t, uint32_t z) {
        if (z < 10)
            return kSilicon;
        return z == 10 && x < 8 ? kAluminium : 0u;
    });
    SimpleSiOxidation(*volume, 1.0, kSiliconOnly).growByThickness(4.0);
    for (uint32_t y = 0; y < 3; ++y) {
        std::vector<uint32_t> covered = stack(20, 10, 0);
        covered[10] = kAluminium;
        for (uint32_t x = 0; x < 7; ++x)
            EXPECT_EQ(column(*volume, x, y), covered) << x;
        for (uint32_t x = 8; x < 16; ++x)
            EXPECT_EQ(column(*volume, x, y), stack(20, 8, 3)) << x;
        // Beside the open surface, the silicon under the cover's edge is 1.1 away: oxidised.
        EXPECT_EQ(materialAt(*volume, 7, y, 9), kOxide);
        EXPECT_EQ(materialAt(*volume, 7, y, 8), kSilicon);
    }
}

TEST(SimpleSiOxidation, EveryThreadCountGivesTheSameCells)
{
    // A silicon mesa with a trench and a partial cover, so the front crosses slab borders
    // in every direction; x sizes below and above three times each thread count.
    const auto structure = [](uint32_t sizeX) {
        return volumeOf(sizeX, 7, 24, [](uint32_t x, uint32_t y, uint32_t z) {
            if (z == 12 && y < 2)
                return kAluminium;
            if (z < 6 || (z < 12 && x % 9 > 2 && y != 3))
                return (x + y) % 5 == 0 ? kNDoped : kSilicon;
            return 0u;
        });
    };
    for (uint32_t sizeX : {5u, 23u, 31u}) {
        const auto cells = CoreTest::sameForEveryThreadCount([&] {
            auto volume = structure(sizeX);
            SimpleSiOxidation(*volume, 1.5, {kSilicon, kNDoped}).growByThickness(4.0);
            return materialsOf(*volume);
        }, std::to_string(sizeX) + " planes");
        EXPECT_NE(cells, materialsOf(*structure(sizeX)));
    }
}

// The dialog gives a time (hours at a temperature and pressure) or a thickness in microns,
// converted to length units; a thickness wins over a time.
TEST(SimpleSiOxidationOperation, GrowsByTimeOrByThickness)
{
    CoreTest::LoggedModel scene;
    auto volume = flatSilicon(4, 3, 40, 20);
    scene.model.scene().addObject(volume);
    // One hour at 1000 °C, 100 units per micron: D ≈ 7.14, 4.0 up (3 cells), 3.1 down (3 cells).
    CoreTest::startStep<SimpleSiOxidationOperation>(scene.model, [](SimpleSiOxidationOperation &op) {
        op.setMicronConversion(100.0); op.setOxidationTime(1.0); op.setOxidationTemperature(1273.15);
        op.setOxidationPressure(1.0); op.setOxidationTimeSet(true);
    });
    EXPECT_EQ(column(*volume, 1, 1), stack(40, 17, 6));

    // 0.05 µm at 100 units per micron is D = 5: 2.8 up (2 cells) and 2.2 down (2 cells).
    auto fresh = flatSilicon(4, 3, 40, 20);
    scene.model.scene().clear();
    scene.model.scene().addObject(fresh);
    CoreTest::startStep<SimpleSiOxidationOperation>(scene.model, [](SimpleSiOxidationOperation &op) {
        op.setMicronConversion(100.0); op.setOxidationThickness(0.05); op.setOxidationThicknessSet(true);
        op.setOxidationTime(10.0); op.setOxidationTemperature(1373.15); op.setOxidationPressure(1.0);
        op.setOxidationTimeSet(true);
    });
    EXPECT_EQ(scene.log->last(), "Simple Si Oxidation: Operation finished.");
    EXPECT_EQ(column(*fresh, 0, 0), stack(40, 18, 4));
}
