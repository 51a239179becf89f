// Isotropic deposition and etching, electroplating: step counts, the Euclidean offset against a
// brute-force search, covers, conductors, slabs, and thread counts (cells and distance vectors).

#include "../CellChecks.h"
#include "Core/Operations/IsotropicFilmDeposition/Electrodeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtching.h"
#include "Util/SlabRunner.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace Core::Operations;
using namespace TestSupport;
using Model::Automaton::Cell;

namespace {

constexpr uint32_t kMetal = kAluminium;

// Material, fixed flag and distance vector of every cell, as raw bytes.
std::vector<char> stateOf(TotalVolume &volume)
{
    std::vector<char> out;
    const Model::Automaton::CellReadLock lock(volume);
    for (uint32_t i = 0; i < volume.cellCount(); ++i) {
        const Cell &cell = lock.cells()[i];
        const uint32_t m = cell.material();
        const float v[3] = {cell.vx(), cell.vy(), cell.vz()};
        out.insert(out.end(), reinterpret_cast<const char *>(&m), reinterpret_cast<const char *>(&m) + sizeof m);
        out.insert(out.end(), reinterpret_cast<const char *>(v), reinterpret_cast<const char *>(v) + sizeof v);
        out.push_back(cell.isFixed() ? 1 : 0);
    }
    return out;
}

// Random blobs of silicon and oxide on a silicon floor, with the x size not a multiple of the
// thread counts so that slabs differ in width.
std::shared_ptr<TotalVolume> randomStructure(unsigned seed, float cellZ)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> coin(0, 99);
    const uint32_t sx = 37, sy = 11, sz = 16;
    std::vector<uint32_t> column(sx * sy);
    for (auto &height : column)
        height = 2 + coin(random) % 7;
    auto shape = volumeOf(sx, sy, sz, [&](uint32_t x, uint32_t y, uint32_t z) -> uint32_t {
        if (z >= column[x * sy + y])
            return coin(random) < 3 ? kOxide : 0u;
        return z + 1 == column[x * sy + y] && coin(random) < 30 ? kOxide : kSilicon;
    });
    return std::make_shared<TotalVolume>(sx, sy, sz, 1.f, 1.f, cellZ, Util::Vector3D(), materialsOf(*shape));
}

} // namespace

TEST(DistanceCountingSlabs, RemainderGoesToTheFirstSlabsAndNarrowVolumesRunAsOne)
{
    using Util::Slab;
    const std::vector<Slab> expected = {{0, 13}, {13, 26}, {26, 39}, {39, 52}, {52, 64}, {64, 76}, {76, 88}, {88, 100}};
    EXPECT_EQ(Util::splitRemainderOverFirstSlabs(100, 8), expected);
    EXPECT_EQ(Util::splitRemainderOverFirstSlabs(5, 8), (std::vector<Slab>{{0, 5}}));

    // Narrower than the thread count: one slab, which must still reach the whole volume.
    ScopedThreadCount threads(8);
    auto narrow = flatVolume(5, 4, 6, 2, kSilicon);
    depositIsotropicFilm(*narrow, kOxide, 2.f);
    for (uint32_t x = 0; x < 5; ++x) {
        EXPECT_EQ(materialAt(*narrow, x, 3, 3), kOxide) << x;
        EXPECT_EQ(materialAt(*narrow, x, 3, 4), 0u) << x;
    }
}

TEST(DistanceCountingSteps, CountsReachTheCubeDiagonalAndStayInRange)
{
    // ceil(√3 · R / h): R = 1 over 0.35 high cells → ceil(4.95) = 5; R = 7 → ceil(12.12) = 13,
    // enough for the (4, 4, 4) corner at distance 6.93, which needs 12 face steps.
    EXPECT_EQ(IsotropicFilmDeposition::stepCount(1.f, 0.35f), 5u);
    EXPECT_EQ(IsotropicFilmEtching::stepCount(1.f, 0.35f), 5u);
    EXPECT_EQ(Electrodeposition::stepCount(1.f, 0.35f), 5u);
    EXPECT_EQ(IsotropicFilmDeposition::stepCount(7.f, 1.f), 13u);
    EXPECT_EQ(IsotropicFilmEtching::stepCount(10.f, 1.f), 18u);
    EXPECT_EQ(IsotropicFilmDeposition::stepCount(0.f, 1.f), 0u);
    EXPECT_EQ(IsotropicFilmEtching::stepCount(-2.f, 1.f), 0u);
    // A thickness of 1e9 over 1 nm cells is 1.7e18 steps: clamped, not wrapped around.
    EXPECT_EQ(IsotropicFilmDeposition::stepCount(1e9f, 1e-3f), std::numeric_limits<unsigned>::max());
    EXPECT_EQ(IsotropicFilmEtching::stepCount(1e9f, 1e-3f), std::numeric_limits<unsigned>::max());
}

// Every empty cell whose centre lies within R of a solid cell's centre is filled, and no other,
// for scattered sources and thicknesses from one cell to nine. With the old step count,
// ceil(R / h) · (1 + 1/√2), the front stopped before it reached the corner cells of the ball
// around a source, which lie up to √3 · R face steps away.
TEST(IsotropicFilmDepositionAutomaton, EqualsTheBruteForceEuclideanOffsetForAnyThickness)
{
    size_t filled = 0, wrong = 0;
    for (unsigned seed = 10; seed < 34; ++seed) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> coin(0, 999);
        const int perMille = seed % 2 ? 3 : 20; // sparse points or a denser scatter
        const uint32_t n = 20;
        auto volume = volumeOf(n, n, n, [&](uint32_t, uint32_t, uint32_t) { return coin(random) < perMille ? kSilicon : 0u; });
        const auto before = materialsOf(*volume);
        std::vector<uint32_t> solid;
        for (uint32_t i = 0; i < before.size(); ++i)
            if (before[i] != 0)
                solid.push_back(i);
        const float r = 1.f + 0.75f * float(seed % 12);
        depositIsotropicFilm(*volume, kOxide, r);
        const auto after = materialsOf(*volume);
        for (uint32_t i = 0; i < after.size(); ++i) {
            uint32_t x, y, z, a, b, c;
            volume->cellCoordinates(i, x, y, z);
            double nearest = 1e30;
            for (uint32_t s : solid) {
                volume->cellCoordinates(s, a, b, c);
                const double dx = double(x) - a, dy = double(y) - b, dz = double(z) - c;
                nearest = std::min(nearest, dx * dx + dy * dy + dz * dz);
            }
            // A solid cell is at distance 0 and stays as it was.
            const bool within = nearest <= double(r) * r, filledHere = after[i] == (before[i] ? before[i] : kOxide);
            filled += within && before[i] == 0 && filledHere;
            wrong += within != filledHere;
        }
    }
    EXPECT_GT(filled, 0u);
    EXPECT_EQ(wrong, 0u) << "cells missed or filled beyond the thickness";
}

TEST(IsotropicFilmDepositionAutomaton, MaterialAlreadyPresentThickensTooAndCellsMeasureInLengthUnits)
{
    // A silicon floor and, apart from it, a floating oxide slab; depositing oxide grows both.
    auto volume = volumeOf(4, 4, 20, [](uint32_t, uint32_t, uint32_t z) {
        return z == 0 ? kSilicon : (z >= 10 && z < 12) ? kOxide : 0u;
    });
    depositIsotropicFilm(*volume, kOxide, 2.f);
    const std::vector<std::pair<uint32_t, uint32_t>> expected = {{2, kOxide}, {3, 0}, {7, 0}, {8, kOxide},
                                                                 {13, kOxide}, {14, 0}};
    for (const auto &cell : expected)
        EXPECT_EQ(materialAt(*volume, 1, 1, cell.first), cell.second) << cell.first;

    // Cells 0.5 high: a thickness of 1 length unit is two layers; no thickness, no change.
    auto flat = std::make_shared<TotalVolume>(3, 3, 10, 1.f, 1.f, 0.5f, Util::Vector3D(),
                                              materialsOf(*flatVolume(3, 3, 10, 2, kSilicon)));
    const auto before = materialsOf(*flat);
    depositIsotropicFilm(*flat, kOxide, 0.f);
    EXPECT_EQ(materialsOf(*flat), before);
    depositIsotropicFilm(*flat, kOxide, 1.f);
    EXPECT_EQ(materialAt(*flat, 1, 1, 3), kOxide);
    EXPECT_EQ(materialAt(*flat, 1, 1, 4), 0u);
}

TEST(IsotropicFilmEtchingAutomaton, RemovesTheExposedMaterialAndStopsUnderACover)
{
    // Silicon up to z = 9; the left half (x < 4) is covered by two layers of oxide.
    auto volume = volumeOf(8, 3, 14, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 10 ? kSilicon : (x < 4 && z < 12) ? kOxide : 0u;
    });
    etchIsotropicFilm(*volume, kSilicon, 3.f);
    // Exposed right half: the top three silicon layers are gone, the fourth remains.
    EXPECT_EQ(materialAt(*volume, 7, 1, 7), 0u);
    EXPECT_EQ(materialAt(*volume, 7, 1, 6), kSilicon);
    // Under the cover, away from the open edge, nothing is removed and the oxide stays whole.
    EXPECT_EQ(materialAt(*volume, 0, 1, 9), kSilicon);
    EXPECT_EQ(materialAt(*volume, 0, 1, 10), kOxide);
    EXPECT_EQ(materialAt(*volume, 3, 1, 11), kOxide);
    // The etch undercuts the cover from the open side, by at most the depth.
    EXPECT_EQ(materialAt(*volume, 3, 1, 9), 0u);

    // A fully covered material is not touched.
    auto covered = volumeOf(5, 5, 10, [](uint32_t, uint32_t, uint32_t z) { return z < 5 ? kSilicon : z < 6 ? kOxide : 0u; });
    const auto before = materialsOf(*covered);
    etchIsotropicFilm(*covered, kSilicon, 4.f);
    EXPECT_EQ(materialsOf(*covered), before);
}

TEST(ElectrodepositionAutomaton, PlatesOnlyNearTheExposedConductor)
{
    // Silicon floor; a metal pad on the left, an oxide pad on the right.
    auto volume = volumeOf(12, 3, 10, [](uint32_t x, uint32_t, uint32_t z) {
        if (z < 2)
            return kSilicon;
        return z == 2 ? (x < 4 ? kMetal : x >= 8 ? kOxide : 0u) : 0u;
    });
    electroplate(*volume, kMetal, kMetal, 2.f);
    EXPECT_EQ(materialAt(*volume, 1, 1, 4), kMetal);
    EXPECT_EQ(materialAt(*volume, 1, 1, 5), 0u);
    EXPECT_EQ(materialAt(*volume, 10, 1, 3), 0u); // oxide does not conduct
    EXPECT_EQ(materialAt(*volume, 5, 1, 2), kMetal); // beside the pad, within reach
    EXPECT_EQ(materialAt(*volume, 7, 1, 2), 0u);

    // A conductor buried in silicon plates nothing.
    auto buried = volumeOf(6, 6, 10, [](uint32_t x, uint32_t y, uint32_t z) {
        if (z < 4)
            return (x > 1 && x < 4 && y > 1 && y < 4 && z > 0 && z < 3) ? kMetal : kSilicon;
        return 0u;
    });
    const auto before = materialsOf(*buried);
    electroplate(*buried, kMetal, kMetal, 5.f);
    EXPECT_EQ(materialsOf(*buried), before);
}

TEST(DistanceCountingThreads, SameCellsForAnyThreadCount)
{
    using Run = std::function<void(TotalVolume &)>;
    const std::vector<std::pair<const char *, Run>> automata = {
        {"deposition", [](TotalVolume &v) { depositIsotropicFilm(v, kMetal, 3.5f); }},
        {"etching", [](TotalVolume &v) { etchIsotropicFilm(v, kSilicon, 2.5f); }},
        {"electroplating", [](TotalVolume &v) { electroplate(v, kMetal, kOxide, 3.f); }},
    };
    for (unsigned seed = 1; seed <= 3; ++seed)
        for (const auto &automaton : automata)
            CoreTest::sameForEveryThreadCount([&] {
                auto volume = randomStructure(seed, seed == 3 ? 0.6f : 1.f);
                automaton.second(*volume);
                return stateOf(*volume);
            }, automaton.first + (" seed " + std::to_string(seed)));
}

// A cell reached by several changed neighbours, or handed over by the next slab as well, is
// evaluated once per step. Repeats would leave the cells as they are, so only the count of
// evaluated front cells can show them.
TEST(DistanceCountingThreads, EachFrontCellIsEvaluatedOncePerStep)
{
    // Flat silicon below z = 2 in 4 × 4 cells, R = 3. Step 1 evaluates plane 2; step 2 planes 2
    // and 3 (plane 2 again, reached by its own neighbours); step 3 planes 2 to 4; step 4
    // planes 3 to 5, where nothing changes any more: 16 + 32 + 48 + 48 cells.
    for (int threads : kThreadCounts) {
        ScopedThreadCount scoped(threads);
        auto volume = flatVolume(4, 4, 8, 2, kSilicon);
        IsotropicFilmDeposition automaton(*volume, kOxide, 3.f);
        automaton.run(IsotropicFilmDeposition::stepCount(3.f, 1.f));
        EXPECT_EQ(automaton.evaluatedFrontCells(), 144u) << threads << " threads";
    }
}
