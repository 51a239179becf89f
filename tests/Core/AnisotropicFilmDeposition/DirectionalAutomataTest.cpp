// The directional automata: profiles from the weighted distance, the far corner of the weighted
// ball, PVD source faces, the RIE column rule, and the same cells for any thread count.

#include "../CellChecks.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtching.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"

#include "common/Cells.h"
#include "common/Materials.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

constexpr uint32_t kMetal = kAluminium;
using Pvd = SimplePhysicalVaporDeposition;
using Rie = SimpleReactiveIonEtching;

// Silicon below z = 4 everywhere and below z = 12 for x < 8: a vertical wall facing +x at x = 8.
std::shared_ptr<TotalVolume> stepVolume()
{
    return volumeOf(20, 3, 20,
                    [](uint32_t x, uint32_t, uint32_t z) { return z < 4 || (x < 8 && z < 12) ? kSilicon : 0u; });
}

// Silicon below z = 10 under an oxide mask at z = 10 with an opening for 8 ≤ x < 12.
std::shared_ptr<TotalVolume> maskedVolume()
{
    return volumeOf(20, 3, 14, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 10 ? kSilicon : z == 10 && (x < 8 || x >= 12) ? kOxide : 0u;
    });
}

// Silicon below z = 4, and walls up to z = 10 outside a trench 6 ≤ x < 12.
std::shared_ptr<TotalVolume> trenchVolume()
{
    return volumeOf(18, 3, 14, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 4 || ((x < 6 || x >= 12) && z < 10) ? kSilicon : 0u;
    });
}

// A free-standing silicon plate 5 ≤ z < 8.
std::shared_ptr<TotalVolume> plateVolume()
{
    return volumeOf(6, 4, 13, [](uint32_t, uint32_t, uint32_t z) { return z >= 5 && z < 8 ? kSilicon : 0u; });
}

// Silicon below z = 6 with an oxide cap at z = 6 over x < 3.
std::shared_ptr<TotalVolume> cappedVolume()
{
    return volumeOf(6, 2, 10,
                    [](uint32_t x, uint32_t, uint32_t z) { return z < 6 ? kSilicon : z == 6 && x < 3 ? kOxide : 0u; });
}

// Random columns of silicon with oxide caps, floating silicon and oxide, on a silicon floor.
std::shared_ptr<TotalVolume> randomStructure(uint32_t sizeX, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> coin(0, 99);
    const uint32_t sy = 7, sz = 14;
    std::vector<uint32_t> height(sizeX * sy);
    for (auto &h : height)
        h = 2 + uint32_t(coin(random)) % 8;
    return volumeOf(sizeX, sy, sz, [&](uint32_t x, uint32_t y, uint32_t z) -> uint32_t {
        const uint32_t top = height[x * sy + y];
        if (z < top)
            return z + 1 == top && coin(random) < 25 ? kOxide : kSilicon;
        return coin(random) < 4 ? (coin(random) < 50 ? kOxide : kSilicon) : 0u;
    });
}

} // namespace

TEST(AnisotropicFilmDepositionAutomaton, SideWallsGetTheRatioOfTheThicknessAndRatioZeroNone)
{
    // R = 4, q = 0.5: four layers on the floor and on the top of the wall, two cells on the wall.
    for (float ratio : {0.5f, 0.f}) {
        SCOPED_TRACE(ratio);
        auto volume = stepVolume();
        depositAnisotropicFilm(*volume, kOxide, 4.f, ratio);
        EXPECT_EQ(countInColumn(*volume, 3, 1, kOxide), 4u);  // wall top z = 12..15
        EXPECT_EQ(countInColumn(*volume, 16, 1, kOxide), 4u); // floor z = 4..7
        EXPECT_EQ(materialAt(*volume, 3, 1, 16), 0u);
        // Half way up the wall, above the floor's film; beside the wall's top only with a ratio.
        EXPECT_EQ(materialAt(*volume, 8, 1, 9), ratio > 0.f ? kOxide : 0u);
        EXPECT_EQ(materialAt(*volume, 9, 1, 9), ratio > 0.f ? kOxide : 0u); // weighted distance exactly 4
        EXPECT_EQ(materialAt(*volume, 10, 1, 9), 0u);
        EXPECT_EQ(materialAt(*volume, 8, 1, 12), ratio > 0.f ? kOxide : 0u); // (1, 1): 2² + 1 ≤ 16
    }
}

TEST(AnisotropicFilmDepositionAutomaton, ReachesTheFarCornersOfTheWeightedBall)
{
    // One silicon cell, R = 3, q = 2: lateral steps count 1/2, so the film is the ellipsoid
    // (x/2)² + (y/2)² + z² ≤ 9. Its corner (4, 4, 1) lies exactly on it and 9 face steps away,
    // more than ceil(√3 · R / h) = 6 steps counted with the unweighted cell length.
    const uint32_t n = 15, h = 9, c = 7, cz = 4;
    auto make = [&] {
        return volumeOf(n, n, h, [&](uint32_t x, uint32_t y, uint32_t z) {
            return x == c && y == c && z == cz ? kSilicon : 0u;
        });
    };
    auto volume = make();
    AnisotropicFilmDeposition automaton(*volume, kOxide, 3.f, 2.f);
    EXPECT_GE(automaton.stepCount(), 9u);
    automaton.run(automaton.stepCount());
    CoreTest::expectCells(*volume, [&](uint32_t x, uint32_t y, uint32_t z) {
        const float dx = (int(x) - int(c)) * 0.5f, dy = (int(y) - int(c)) * 0.5f, dz = float(int(z) - int(cz));
        const float d2 = dx * dx + dy * dy + dz * dz;
        return d2 == 0.f ? kSilicon : d2 <= 9.f ? kOxide : 0u;
    });
    EXPECT_EQ(materialAt(*volume, c + 4, c - 4, cz + 1), kOxide);
    auto shortRun = make();
    AnisotropicFilmDeposition(*shortRun, kOxide, 3.f, 2.f).run(6);
    EXPECT_EQ(materialAt(*shortRun, c + 4, c - 4, cz + 1), 0u);
}

TEST(AnisotropicFilmEtchingAutomaton, EtchesDepthDownAndRatioTimesDepthUnderTheMask)
{
    // R = 4, q = 0.5 through the opening: the sources are the empty cells of the opening at z = 10.
    auto volume = maskedVolume();
    etchAnisotropicFilm(*volume, kSilicon, 4.f, 0.5f);
    EXPECT_EQ(materialAt(*volume, 9, 1, 6), 0u); // 4 below the opening
    EXPECT_EQ(materialAt(*volume, 9, 1, 5), kSilicon);
    EXPECT_EQ(materialAt(*volume, 7, 1, 9), 0u);        // offset (1, 1): 2² + 1 = 5 ≤ 16
    EXPECT_EQ(materialAt(*volume, 6, 1, 9), kSilicon);  // offset (2, 1): 4² + 1 = 17
    EXPECT_EQ(materialAt(*volume, 7, 1, 7), 0u);        // offset (1, 3): 4 + 9 = 13
    EXPECT_EQ(materialAt(*volume, 7, 1, 6), kSilicon);  // offset (1, 4): 4 + 16 = 20
    for (uint32_t x = 0; x < 20; ++x)
        EXPECT_EQ(materialAt(*volume, x, 1, 10), x < 8 || x >= 12 ? kOxide : 0u) << x;

    // Ratio 0 etches straight down only.
    auto vertical = maskedVolume();
    etchAnisotropicFilm(*vertical, kSilicon, 4.f, 0.f);
    EXPECT_EQ(materialAt(*vertical, 8, 1, 6), 0u);
    EXPECT_EQ(materialAt(*vertical, 7, 1, 9), kSilicon);
    EXPECT_EQ(countInColumn(*vertical, 10, 1, kSilicon), 6u);
}

TEST(SimplePhysicalVaporDepositionAutomaton, OnTopFillsTheTopsAndTheTrenchFloorButBarelyTheWalls)
{
    // R = 2, q = 0.5: a lateral step counts 2, so the walls get growth only beside the wall tops.
    auto volume = trenchVolume();
    depositPhysicalVapor(*volume, kOxide, 2.f, 0.5f, Pvd::Top);
    EXPECT_EQ(countInColumn(*volume, 2, 1, kOxide), 2u);  // z = 10, 11
    EXPECT_EQ(countInColumn(*volume, 9, 1, kOxide), 2u);  // trench floor z = 4, 5
    EXPECT_EQ(materialAt(*volume, 6, 1, 9), kOxide);                   // beside the wall top's cell
    for (uint32_t z = 6; z < 9; ++z)
        EXPECT_EQ(materialAt(*volume, 6, 1, z), 0u) << z; // the wall itself faces no vapour
    EXPECT_EQ(materialAt(*volume, 6, 1, 10), 0u);          // (1, 1) from the wall top: 4 + 1 > 4
}

TEST(SimplePhysicalVaporDepositionAutomaton, SidesChooseTheSourceFaces)
{
    const auto run = [](uint32_t sides) {
        auto volume = plateVolume();
        depositPhysicalVapor(*volume, kOxide, 2.f, 0.5f, sides);
        return volume;
    };
    auto top = run(Pvd::Top);
    EXPECT_EQ(countInColumn(*top, 2, 2, kOxide), 2u);
    EXPECT_EQ(materialAt(*top, 2, 2, 9), kOxide);
    EXPECT_EQ(materialAt(*top, 2, 2, 4), 0u);
    auto bottom = run(Pvd::Bottom);
    EXPECT_EQ(countInColumn(*bottom, 2, 2, kOxide), 2u);
    EXPECT_EQ(materialAt(*bottom, 2, 2, 3), kOxide);
    EXPECT_EQ(materialAt(*bottom, 2, 2, 8), 0u);

    // Both: the plate's bottom cells are sources although the cell above them is solid.
    auto both = run(Pvd::BothSides);
    EXPECT_EQ(countInColumn(*both, 2, 2, kOxide), 4u);
    EXPECT_EQ(materialAt(*both, 2, 2, 3), kOxide);
    EXPECT_EQ(materialAt(*both, 2, 2, 9), kOxide);

    // A structure with no face looking down gets nothing from below.
    auto trench = trenchVolume();
    const auto before = materialsOf(*trench);
    depositPhysicalVapor(*trench, kOxide, 2.f, 0.5f, Pvd::Bottom);
    EXPECT_EQ(materialsOf(*trench), before);
}

TEST(SimpleReactiveIonEtchingAutomaton, FromTheTopRemovesMinOfDepthAndColumnNeverSideways)
{
    auto volume = cappedVolume();
    etchReactiveIons(*volume, kSilicon, 2, Rie::kFromTop);
    for (uint32_t x = 0; x < 6; ++x)
        EXPECT_EQ(countInColumn(*volume, x, 1, kSilicon), x < 3 ? 6u : 4u) << x;
    EXPECT_EQ(materialAt(*volume, 2, 1, 5), kSilicon); // its side neighbour was etched
    auto deep = cappedVolume();
    etchReactiveIons(*deep, kSilicon, 1000, Rie::kFromTop);
    EXPECT_EQ(countInColumn(*deep, 4, 1, kSilicon), 0u);
    EXPECT_EQ(countInColumn(*deep, 1, 1, kSilicon), 6u);

    // Another material in the column stops it: silicon, oxide at z = 3, silicon up to z = 6.
    auto layered = volumeOf(3, 1, 8, [](uint32_t, uint32_t, uint32_t z) -> uint32_t {
        return z == 3 ? kOxide : z < 6 ? kSilicon : 0u;
    });
    etchReactiveIons(*layered, kSilicon, 5, Rie::kFromTop);
    EXPECT_EQ(materialAt(*layered, 1, 0, 3), kOxide);
    EXPECT_EQ(countInColumn(*layered, 1, 0, kSilicon), 3u);
}

TEST(SimpleReactiveIonEtchingAutomaton, DirectionBitsChooseTheExposedEnds)
{
    const auto plateAfter = [](uint32_t depth, uint8_t directions) {
        auto volume =
            volumeOf(4, 2, 12, [](uint32_t, uint32_t, uint32_t z) { return z >= 3 && z < 9 ? kSilicon : 0u; });
        etchReactiveIons(*volume, kSilicon, depth, directions);
        return volume;
    };
    auto below = plateAfter(2, Rie::kFromBelow);
    EXPECT_EQ(materialAt(*below, 1, 1, 4), 0u);
    EXPECT_EQ(materialAt(*below, 1, 1, 5), kSilicon);
    EXPECT_EQ(materialAt(*below, 1, 1, 8), kSilicon);
    auto both = plateAfter(2, Rie::kFromTop | Rie::kFromBelow);
    for (uint32_t z = 3; z < 9; ++z)
        EXPECT_EQ(materialAt(*both, 1, 1, z), z >= 5 && z < 7 ? kSilicon : 0u) << z;

    // The two ends meet in the middle: the whole column, and nothing is removed twice.
    auto through = plateAfter(4, Rie::kFromTop | Rie::kFromBelow);
    EXPECT_EQ(countInColumn(*through, 1, 1, kSilicon), 0u);
    auto none = plateAfter(5, 0);
    EXPECT_EQ(countInColumn(*none, 1, 1, kSilicon), 6u);
}

TEST(SimpleReactiveIonEtchingSlabs, WidthIsSizeOverThreadsAndTheLastTakesTheRest)
{
    using Util::Slab;
    EXPECT_EQ(Rie::slabsFor(5, 3), (std::vector<Slab>{{0, 1}, {1, 2}, {2, 5}}));
    EXPECT_EQ(Rie::slabsFor(8, 3), (std::vector<Slab>{{0, 2}, {2, 4}, {4, 8}}));
    EXPECT_EQ(Rie::slabsFor(7, 8), (std::vector<Slab>{{0, 7}}));
}

TEST(DirectionalAutomataThreads, SameCellsForAnyThreadCount)
{
    using Run = std::function<void(TotalVolume &)>;
    const std::vector<std::pair<const char *, Run>> automata = {
        {"anisotropic deposition", [](TotalVolume &v) { depositAnisotropicFilm(v, kMetal, 3.f, 0.6f); }},
        {"anisotropic etching", [](TotalVolume &v) { etchAnisotropicFilm(v, kSilicon, 2.5f, 1.5f); }},
        {"pvd", [](TotalVolume &v) { depositPhysicalVapor(v, kMetal, 2.5f, 0.5f, Pvd::BothSides); }},
        {"rie", [](TotalVolume &v) { etchReactiveIons(v, kSilicon, 3, Rie::kFromTop | Rie::kFromBelow); }},
    };
    // 5 and 7 cells along x: below two and three times the thread count for 3 and 8 threads.
    for (uint32_t sizeX : {5u, 7u, 23u})
        for (const auto &automaton : automata) {
            const auto cells = CoreTest::sameForEveryThreadCount([&] {
                auto volume = randomStructure(sizeX, sizeX);
                automaton.second(*volume);
                return materialsOf(*volume);
            }, automaton.first + (" x " + std::to_string(sizeX)));
            EXPECT_NE(materialsOf(*randomStructure(sizeX, sizeX)), cells) << automaton.first << " changed nothing";
        }
}
