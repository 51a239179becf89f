// The doping automata: depths and implanted bands worked out by hand, materials that stop the
// dopant, the slab hand-over, thread counts, and the catalogue's dopable materials.

#include "../CellChecks.h"
#include "../StepRun.h"

#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/Doping/DopingOperation.h"
#include "Core/Operations/Doping/IonImplantation.h"
#include "Core/Operations/Doping/SimpleDoping.h"
#include "Model/Process/ProcessFactory.h"

#include "common/Cells.h"
#include "common/Materials.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;
constexpr uint32_t kPDoped = Model::Materials::kPDopedSiliconMaterial;
constexpr uint32_t kPolySilicon = 16;
// The default catalogue's dopable materials.
const std::vector<uint32_t> kDopable = {kSilicon, kNDoped, kPDoped, kPolySilicon};

float smallestLength(TotalVolume &volume)
{
    return AbstractDistanceCountingAutomatonBase::smallestCellLength(volume);
}

void dope(TotalVolume &volume, float depth, uint32_t doped = kNDoped)
{
    SimpleDoping automaton(volume, kDopable, doped, depth);
    automaton.run(SimpleDoping::stepCount(depth, smallestLength(volume)));
}

void implant(TotalVolume &volume, float depth, float spread, float annealing, uint32_t doped = kPDoped)
{
    IonImplantation automaton(volume, kDopable, doped, depth, spread, annealing);
    automaton.run(IonImplantation::stepCount(annealing, smallestLength(volume)));
}

// The heights z at which the column (x, y) holds `material`.
std::set<uint32_t> heightsOf(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t material)
{
    std::set<uint32_t> heights;
    for (uint32_t z = 0; z < volume.sizeZ(); ++z)
        if (materialAt(volume, x, y, z) == material)
            heights.insert(z);
    return heights;
}

// Every column of the volume holds `material` exactly at `heights`.
void expectEveryColumn(TotalVolume &volume, uint32_t material, const std::set<uint32_t> &heights)
{
    for (uint32_t x = 0; x < volume.sizeX(); ++x)
        for (uint32_t y = 0; y < volume.sizeY(); ++y)
            EXPECT_EQ(heightsOf(volume, x, y, material), heights) << "column " << x << ", " << y;
}

// Silicon below z = 8 in unit cells.
std::shared_ptr<TotalVolume> flatSilicon()
{
    return flatVolume(4, 3, 12, 8, kSilicon);
}

// Empty, silicon, poly-silicon, N-doped silicon, oxide and aluminium scattered with a fixed seed,
// under an empty top layer: fronts, sources and blocked cells on every slab boundary.
std::shared_ptr<TotalVolume> scatteredVolume()
{
    std::mt19937 random(20240611u);
    const uint32_t choices[] = {0u, kSilicon, kSilicon, kSilicon, kPolySilicon, kNDoped, kOxide, kAluminium};
    std::uniform_int_distribution<int> pick(0, 7);
    return volumeOf(17, 6, 11, [&](uint32_t, uint32_t, uint32_t z) {
        const uint32_t material = choices[pick(random)];
        return z == 10 ? 0u : material;
    });
}

} // namespace

TEST(SimpleDopingAutomaton, DopesTheLayersWithinTheDepthBelowAFlatSurface)
{
    // A cell k layers below the surface is k cell lengths from the empty cell above the top.
    const struct {
        float depth;
        std::set<uint32_t> doped;
        uint32_t material;
    } cases[] = {
        {0.5f, {}, kNDoped}, // shorter than a cell: not even the top layer is that close
        {1.0f, {7}, kNDoped},
        {2.9f, {6, 7}, kNDoped},
        {3.0f, {5, 6, 7}, kNDoped},
        // A process list may name any material; the cells it reaches keep passing the dopant on.
        {2.0f, {6, 7}, kAluminium},
    };
    for (const auto &c : cases) {
        auto volume = flatSilicon();
        dope(*volume, c.depth, c.material);
        SCOPED_TRACE(c.depth);
        expectEveryColumn(*volume, c.material, c.doped);
        EXPECT_EQ(countInColumn(*volume, 2, 1, kSilicon), 8u - c.doped.size());
    }
}

TEST(SimpleDopingAutomaton, ReachesSiliconUnderAnOxideOnlyAroundItsEdge)
{
    // Silicon below z = 6; an oxide cap at z = 6 over x < 4; open above x ≥ 4. Depth 3.
    auto volume = volumeOf(8, 3, 10, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 6 ? kSilicon : z == 6 && x < 4 ? kOxide : 0u;
    });
    dope(*volume, 3.f);
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 4; x < 8; ++x)
            EXPECT_EQ(heightsOf(*volume, x, y, kNDoped), (std::set<uint32_t>{3, 4, 5})) << x;
        // Under the cap the nearest empty cell is (4, y, 6): (1, 0, 1) and (1, 0, 2) are within
        // 3, (1, 0, 3) = √10 is not; two columns in, √5 and √8 are; three in, √10 again is not.
        EXPECT_EQ(heightsOf(*volume, 3, y, kNDoped), (std::set<uint32_t>{4, 5}));
        EXPECT_EQ(heightsOf(*volume, 2, y, kNDoped), (std::set<uint32_t>{4, 5}));
        EXPECT_TRUE(heightsOf(*volume, 1, y, kNDoped).empty());
        EXPECT_TRUE(heightsOf(*volume, 0, y, kNDoped).empty());
        for (uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(materialAt(*volume, x, y, 6), kOxide);
    }
}

TEST(SimpleDopingAutomaton, ANonDopableLayerStopsTheDopantWhateverTheDepth)
{
    // Silicon z < 3, oxide at z = 3, silicon z = 4..5, aluminium at z = 6 over x < 2, empty
    // above: the silicon under the oxide is within 4 of the surface in a straight line.
    auto volume = volumeOf(6, 2, 9, [](uint32_t x, uint32_t, uint32_t z) {
        if (z < 3 || z == 4 || z == 5)
            return kSilicon;
        if (z == 3)
            return kOxide;
        return z == 6 && x < 2 ? kAluminium : 0u;
    });
    dope(*volume, 4.f);
    for (uint32_t x = 0; x < 6; ++x)
        for (uint32_t y = 0; y < 2; ++y) {
            EXPECT_EQ(heightsOf(*volume, x, y, kSilicon), (std::set<uint32_t>{0, 1, 2})) << x;
            EXPECT_EQ(heightsOf(*volume, x, y, kNDoped), (std::set<uint32_t>{4, 5})) << x;
            EXPECT_EQ(materialAt(*volume, x, y, 3), kOxide);
            EXPECT_EQ(materialAt(*volume, x, y, 6), x < 2 ? kAluminium : 0u);
        }
}

TEST(SimpleDopingAutomaton, EveryEmptyCellIsASourceEvenABuriedVoid)
{
    // Solid silicon with one empty cell in the middle and no outer surface.
    auto volume = volumeOf(7, 7, 7, [](uint32_t x, uint32_t y, uint32_t z) {
        return x == 3 && y == 3 && z == 3 ? 0u : kSilicon;
    });
    dope(*volume, 1.f);
    const auto after = materialsOf(*volume);
    EXPECT_EQ(std::count(after.begin(), after.end(), kNDoped), 6); // the face neighbours; diagonals are √2 away
    EXPECT_EQ(materialAt(*volume, 3, 3, 2), kNDoped);
    EXPECT_EQ(materialAt(*volume, 4, 3, 3), kNDoped);
    EXPECT_EQ(materialAt(*volume, 3, 3, 3), 0u);
}

TEST(SimpleDopingAutomaton, TheFrontCrossesEverySlabBoundary)
{
    // Silicon along z = 0 under oxide, open only at x = 0: the dopant runs along x through every
    // slab. (x, 0, 0) is |(x, 0, 1)| from the empty cell (0, 0, 1): within 4 up to x = 3 (√10).
    const auto cells = CoreTest::sameForEveryThreadCount([] {
        auto volume = volumeOf(8, 1, 2, [](uint32_t x, uint32_t, uint32_t z) {
            return z == 0 ? kSilicon : x == 0 ? 0u : kOxide;
        });
        dope(*volume, 4.f);
        return materialsOf(*volume);
    });
    for (uint32_t x = 0; x < 8; ++x)
        EXPECT_EQ(cells[2 * x], x <= 3 ? kNDoped : kSilicon) << "x " << x;
}

TEST(SimpleDopingAutomaton, AVolumeNarrowerThanTheThreadCountRunsAsOneSlab)
{
    // (1, 0, 0) is √2 from the empty cell (0, 0, 1).
    for (float depth : {1.2f, 1.5f}) {
        ScopedThreadCount scoped(3);
        auto volume = volumeOf(2, 1, 2, [](uint32_t x, uint32_t, uint32_t z) {
            return z == 0 ? kSilicon : x == 0 ? 0u : kOxide;
        });
        dope(*volume, depth);
        EXPECT_EQ(materialAt(*volume, 0, 0, 0), kNDoped);
        EXPECT_EQ(materialAt(*volume, 1, 0, 0), depth >= 1.5f ? kNDoped : kSilicon) << depth;
    }
}

TEST(IonImplantationAutomaton, TheBandLiesAtTheDepthBelowTheTopWithinHalfACellAndTheSpread)
{
    // The top cell (z = 7) has k = 1; cell k is implanted when |k − d| ≤ 0.5 + s.
    const struct {
        float depth;
        float spread;
        std::set<uint32_t> doped;
    } cases[] = {
        {3.f, 0.f, {5}},
        {3.f, 1.f, {4, 5, 6}},
        {1.f, 0.f, {7}}, // a depth of one cell: the top cell alone
        {0.f, 0.f, {}},  // at the surface itself: no cell
        {1.5f, 0.f, {6, 7}}, // both cells exactly half a cell away
        {8.f, 0.f, {0}},
        {9.f, 0.f, {}}, // below the substrate
    };
    for (const auto &c : cases) {
        auto volume = flatSilicon();
        implant(*volume, c.depth, c.spread, 0.f);
        SCOPED_TRACE(testing::Message() << "depth " << c.depth << ", spread " << c.spread);
        expectEveryColumn(*volume, kPDoped, c.doped);
    }
}

TEST(IonImplantationAutomaton, TheBandScalesWithTheCellHeight)
{
    // Cells 0.5 high: cell k lies at depth k/2, in the band when |k/2 − d| ≤ 0.25 + s.
    std::vector<uint32_t> materials(3 * 2 * 10, 0);
    for (uint32_t i = 0; i < materials.size(); ++i)
        materials[i] = i % 10 < 8 ? kSilicon : 0u;
    for (float spread : {0.f, 0.25f}) {
        auto volume = std::make_shared<TotalVolume>(3, 2, 10, 1.f, 1.f, 0.5f, Util::Vector3D(), materials);
        implant(*volume, 1.f, spread, 0.f);
        expectEveryColumn(*volume, kPDoped, spread == 0.f ? std::set<uint32_t>{6} : std::set<uint32_t>{5, 6, 7});
    }
}

TEST(IonImplantationAutomaton, TheBandFollowsEachColumnsOwnTop)
{
    // Tops at z = 7 for x < 3 and z = 4 beyond; an oxide column cap at x = 5; one empty column.
    auto volume = volumeOf(8, 2, 10, [](uint32_t x, uint32_t, uint32_t z) -> uint32_t {
        if (x == 7)
            return 0u;
        if (x == 5 && z == 5)
            return kOxide;
        return z < (x < 3 ? 8u : 5u) ? kSilicon : 0u;
    });
    implant(*volume, 2.f, 0.f, 0.f);
    for (uint32_t y = 0; y < 2; ++y) {
        for (uint32_t x = 0; x < 3; ++x)
            EXPECT_EQ(heightsOf(*volume, x, y, kPDoped), (std::set<uint32_t>{6})) << x;
        // The side wall of the higher part, at k = 2 and 3 of its own column, is not implanted.
        EXPECT_EQ(materialAt(*volume, 2, y, 5), kSilicon);
        EXPECT_EQ(heightsOf(*volume, 3, y, kPDoped), (std::set<uint32_t>{3}));
        // Under the oxide cap (k = 1) the band's k = 2 is silicon again.
        EXPECT_EQ(heightsOf(*volume, 5, y, kPDoped), (std::set<uint32_t>{4}));
        EXPECT_EQ(materialAt(*volume, 5, y, 5), kOxide);
        EXPECT_TRUE(heightsOf(*volume, 7, y, kPDoped).empty());
        EXPECT_TRUE(heightsOf(*volume, 7, y, kSilicon).empty());
    }
}

TEST(IonImplantationAutomaton, AnnealingSpreadsFromTheBandThroughDopableCellsOnly)
{
    // Flat silicon, band at z = 5: annealing over 2 reaches z = 3 to 7.
    auto flat = flatSilicon();
    implant(*flat, 3.f, 0.f, 2.f);
    expectEveryColumn(*flat, kPDoped, {3, 4, 5, 6, 7});

    // Silicon z = 6..7 over an oxide layer at z = 5 over silicon: the band is the top cell;
    // annealing over 3 would reach z = 4 in a straight line, but only through the oxide.
    auto layered = volumeOf(5, 2, 10, [](uint32_t, uint32_t, uint32_t z) {
        return z == 5 ? kOxide : z < 8 ? kSilicon : 0u;
    });
    implant(*layered, 1.f, 0.f, 3.f);
    expectEveryColumn(*layered, kPDoped, {6, 7});
    expectEveryColumn(*layered, kOxide, {5});
    expectEveryColumn(*layered, kSilicon, {0, 1, 2, 3, 4});
}

TEST(DopingAutomata, SameCellsForAnyThreadCountAndNonDopableCellsNeverChange)
{
    const auto before = materialsOf(*scatteredVolume());
    const auto doped = CoreTest::sameForEveryThreadCount([] {
        auto volume = scatteredVolume();
        dope(*volume, 2.5f);
        return materialsOf(*volume);
    }, "diffusion");
    const auto implanted = CoreTest::sameForEveryThreadCount([] {
        auto volume = scatteredVolume();
        implant(*volume, 2.f, 0.5f, 1.5f);
        return materialsOf(*volume);
    }, "implantation");
    ASSERT_NE(doped, before);
    ASSERT_NE(implanted, before);
    for (size_t i = 0; i < before.size(); ++i) {
        const bool dopable = std::find(kDopable.begin(), kDopable.end(), before[i]) != kDopable.end();
        EXPECT_TRUE(doped[i] == before[i] || (dopable && doped[i] == kNDoped)) << i;
        EXPECT_TRUE(implanted[i] == before[i] || (dopable && implanted[i] == kPDoped)) << i;
    }
}

TEST(DopingAutomata, TheEntryPointsDopeTheCataloguesDopableMaterials)
{
    // The default catalogue's doping processes list silicon, the doped silicons and poly-silicon.
    auto diffused = volumeOf(3, 1, 3, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 2 ? (x == 0 ? kSilicon : x == 1 ? kPolySilicon : kOxide) : 0u;
    });
    dopeByDiffusion(*diffused, kNDoped, 1.f);
    EXPECT_EQ(materialAt(*diffused, 0, 0, 1), kNDoped);
    EXPECT_EQ(materialAt(*diffused, 1, 0, 1), kNDoped);
    EXPECT_EQ(materialAt(*diffused, 2, 0, 1), kOxide);
    auto implanted = flatVolume(2, 2, 6, 4, kPolySilicon);
    implantIons(*implanted, kPDoped, 2.f, 0.f, 0.f);
    expectEveryColumn(*implanted, kPDoped, {2});
}

TEST(DopingOperation, DopesOnlyTheMaterialsTheCatalogueListsForTheProcess)
{
    // Without silicon in the doping process's list, the silicon stays and only poly-silicon
    // takes the dopant.
    const auto factory = Model::Process::ProcessFactory::instance();
    const auto saved = factory->process(kSimpleDopingProcess);
    auto process = saved;
    process.setCompatibleMaterials({kPolySilicon});
    factory->setProcess(process);
    CoreTest::LoggedModel scene;
    auto volume = flatSilicon();
    setMaterialAt(*volume, 1, 1, 7, kPolySilicon);
    scene.model.scene().addObject(volume);
    CoreTest::startStep<DopingOperation>(scene.model, [](DopingOperation &op) {
        op.setDopingDepth(2.f);
        op.setDopedMaterial(kNDoped);
    });
    factory->setProcess(saved);
    EXPECT_EQ(scene.log->last(), "Doping: Operation finished.");
    EXPECT_EQ(materialAt(*volume, 1, 1, 7), kNDoped);
    EXPECT_EQ(materialAt(*volume, 1, 1, 6), kSilicon);
    EXPECT_EQ(materialAt(*volume, 2, 1, 7), kSilicon);
}
