#include "Core/Operations/IsotropicFilmDeposition/Electrodeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtching.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"
#include "Util/SlabRunner.h"

#include <QThreadPool>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace Core::Operations;
using Model::Automaton::Cell;
using Model::Automaton::TotalVolume;

namespace {

constexpr uint32_t kSilicon = Model::Materials::kSiliconMaterial;
constexpr uint32_t kOxide = 2;
constexpr uint32_t kMetal = 3;

class ScopedThreadCount {
public:
    explicit ScopedThreadCount(int n) : previous(QThreadPool::globalInstance()->maxThreadCount())
    {
        QThreadPool::globalInstance()->setMaxThreadCount(n);
    }
    ~ScopedThreadCount() { QThreadPool::globalInstance()->setMaxThreadCount(previous); }

private:
    int previous;
};

// A volume whose cells are given by f(x, y, z).
template <typename F>
std::unique_ptr<TotalVolume> makeVolume(
    uint32_t sx, uint32_t sy, uint32_t sz, F f, float cx = 1.f, float cy = 1.f, float cz = 1.f)
{
    std::vector<uint32_t> materials(size_t(sx) * sy * sz);
    for (uint32_t x = 0; x < sx; ++x)
        for (uint32_t y = 0; y < sy; ++y)
            for (uint32_t z = 0; z < sz; ++z)
                materials[(size_t(x) * sy + y) * sz + z] = f(x, y, z);
    return std::make_unique<TotalVolume>(sx, sy, sz, cx, cy, cz, Util::Vector3D(), materials);
}

std::vector<uint32_t> materialsOf(TotalVolume &volume)
{
    std::vector<uint32_t> out(volume.cellCount());
    Cell *cells = volume.lockCells();
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = cells[i].material();
    volume.unlockCells();
    return out;
}

// Material, fixed flag and distance vector of every cell, as raw bytes.
std::vector<char> stateOf(TotalVolume &volume)
{
    std::vector<char> out;
    Cell *cells = volume.lockCells();
    for (uint32_t i = 0; i < volume.cellCount(); ++i) {
        const uint32_t m = cells[i].material();
        const float v[3] = {cells[i].vx(), cells[i].vy(), cells[i].vz()};
        const char fixed = cells[i].isFixed() ? 1 : 0;
        out.insert(out.end(), reinterpret_cast<const char *>(&m), reinterpret_cast<const char *>(&m) + sizeof m);
        out.insert(out.end(), reinterpret_cast<const char *>(v), reinterpret_cast<const char *>(v) + sizeof v);
        out.push_back(fixed);
    }
    volume.unlockCells();
    return out;
}

uint32_t materialAt(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z)
{
    return materialsOf(volume)[volume.cellIndex(x, y, z)];
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
    auto narrow = makeVolume(5, 4, 6, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : 0u; });
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

TEST(IsotropicFilmDepositionAutomaton, FillsTheThreeDimensionalCornersOfABall)
{
    // One silicon cell in the middle of 17³ cells, R = 7: every cell whose centre lies within 7
    // cells of it becomes oxide, the diagonal (4, 4, 4) offset at 6.93 included; none beyond.
    const uint32_t n = 17, c = 8;
    auto volume = makeVolume(n, n, n, [&](uint32_t x, uint32_t y, uint32_t z) {
        return x == c && y == c && z == c ? kSilicon : 0u;
    });
    depositIsotropicFilm(*volume, kOxide, 7.f);
    EXPECT_EQ(materialAt(*volume, c + 4, c + 4, c + 4), kOxide);
    EXPECT_EQ(materialAt(*volume, c - 4, c + 4, c - 4), kOxide);
    EXPECT_EQ(materialAt(*volume, c + 5, c + 4, c + 3), 0u); // √50 = 7.07
    size_t wrong = 0;
    for (uint32_t x = 0; x < n; ++x)
        for (uint32_t y = 0; y < n; ++y)
            for (uint32_t z = 0; z < n; ++z) {
                const int dx = int(x) - int(c), dy = int(y) - int(c), dz = int(z) - int(c);
                const int d2 = dx * dx + dy * dy + dz * dz;
                const uint32_t expected = d2 == 0 ? kSilicon : d2 <= 49 ? kOxide : 0u;
                wrong += materialAt(*volume, x, y, z) != expected;
            }
    EXPECT_EQ(wrong, 0u);
}

TEST(IsotropicFilmDepositionAutomaton, FlatSurfaceGetsExactlyTheLayersWithinTheThickness)
{
    auto volume = makeVolume(6, 5, 20, [](uint32_t, uint32_t, uint32_t z) { return z < 3 ? kSilicon : 0u; });
    depositIsotropicFilm(*volume, kOxide, 10.f);
    for (uint32_t z = 0; z < 20; ++z) {
        const uint32_t expected = z < 3 ? kSilicon : z < 13 ? kOxide : 0u;
        for (uint32_t x = 0; x < 6; ++x)
            for (uint32_t y = 0; y < 5; ++y)
                ASSERT_EQ(materialAt(*volume, x, y, z), expected) << x << "," << y << "," << z;
    }
}

TEST(IsotropicFilmDepositionAutomaton, ZeroThicknessOrStepsChangeNoMaterialButInitialiseCells)
{
    auto volume = makeVolume(4, 4, 6, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : 0u; });
    const auto before = materialsOf(*volume);
    depositIsotropicFilm(*volume, kOxide, 0.f);
    EXPECT_EQ(materialsOf(*volume), before);

    IsotropicFilmDeposition automaton(*volume, kOxide, 3.f);
    automaton.run(0);
    EXPECT_EQ(materialsOf(*volume), before);
    Cell *cells = volume->lockCells();
    const Cell &solid = cells[volume->cellIndex(1, 1, 0)];
    const Cell &empty = cells[volume->cellIndex(1, 1, 4)];
    EXPECT_TRUE(solid.isFixed());
    EXPECT_EQ(solid.vz(), 0.f);
    EXPECT_FALSE(empty.isFixed());
    EXPECT_EQ(empty.vx(), 3.f);
    volume->unlockCells();
}

TEST(IsotropicFilmDepositionAutomaton, MaterialAlreadyPresentThickensToo)
{
    // A silicon floor and, apart from it, a floating oxide slab; depositing oxide grows both.
    auto volume = makeVolume(4, 4, 20, [](uint32_t, uint32_t, uint32_t z) {
        return z == 0 ? kSilicon : (z >= 10 && z < 12) ? kOxide : 0u;
    });
    depositIsotropicFilm(*volume, kOxide, 2.f);
    EXPECT_EQ(materialAt(*volume, 1, 1, 2), kOxide);
    EXPECT_EQ(materialAt(*volume, 1, 1, 3), 0u);
    EXPECT_EQ(materialAt(*volume, 1, 1, 8), kOxide);
    EXPECT_EQ(materialAt(*volume, 1, 1, 7), 0u);
    EXPECT_EQ(materialAt(*volume, 1, 1, 13), kOxide);
    EXPECT_EQ(materialAt(*volume, 1, 1, 14), 0u);
}

TEST(IsotropicFilmDepositionAutomaton, AnisotropicCellsMeasureInLengthUnits)
{
    // Cells 0.5 high: a thickness of 1 length unit is two layers.
    auto volume = makeVolume(
        3, 3, 10, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : 0u; }, 1.f, 1.f, 0.5f);
    depositIsotropicFilm(*volume, kOxide, 1.f);
    EXPECT_EQ(materialAt(*volume, 1, 1, 3), kOxide);
    EXPECT_EQ(materialAt(*volume, 1, 1, 4), 0u);
}

TEST(IsotropicFilmEtchingAutomaton, RemovesTheExposedMaterialAndStopsUnderACover)
{
    // Silicon up to z = 9; the left half (x < 4) is covered by two layers of oxide.
    auto volume = makeVolume(8, 3, 14, [](uint32_t x, uint32_t, uint32_t z) {
        if (z < 10)
            return kSilicon;
        return (x < 4 && z < 12) ? kOxide : 0u;
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
}

TEST(IsotropicFilmEtchingAutomaton, AFullyCoveredMaterialIsNotTouched)
{
    auto volume = makeVolume(5, 5, 10, [](uint32_t, uint32_t, uint32_t z) {
        return z < 5 ? kSilicon : z < 6 ? kOxide : 0u;
    });
    const auto before = materialsOf(*volume);
    etchIsotropicFilm(*volume, kSilicon, 4.f);
    EXPECT_EQ(materialsOf(*volume), before);
}

TEST(ElectrodepositionAutomaton, PlatesOnlyNearTheExposedConductor)
{
    // Silicon floor; a metal pad on the left, an oxide pad on the right.
    auto volume = makeVolume(12, 3, 10, [](uint32_t x, uint32_t, uint32_t z) {
        if (z < 2)
            return kSilicon;
        if (z == 2)
            return x < 4 ? kMetal : x >= 8 ? kOxide : 0u;
        return 0u;
    });
    electroplate(*volume, kMetal, kMetal, 2.f);
    EXPECT_EQ(materialAt(*volume, 1, 1, 4), kMetal);
    EXPECT_EQ(materialAt(*volume, 1, 1, 5), 0u);
    EXPECT_EQ(materialAt(*volume, 10, 1, 3), 0u); // oxide does not conduct
    EXPECT_EQ(materialAt(*volume, 5, 1, 2), kMetal); // beside the pad, within reach
    EXPECT_EQ(materialAt(*volume, 7, 1, 2), 0u);
}

TEST(ElectrodepositionAutomaton, BuriedConductorChangesNothing)
{
    auto volume = makeVolume(6, 6, 10, [](uint32_t x, uint32_t y, uint32_t z) {
        if (z < 4)
            return (x > 1 && x < 4 && y > 1 && y < 4 && z > 0 && z < 3) ? kMetal : kSilicon;
        return 0u;
    });
    const auto before = materialsOf(*volume);
    electroplate(*volume, kMetal, kMetal, 5.f);
    EXPECT_EQ(materialsOf(*volume), before);
}

namespace {

// Random blobs of silicon and oxide on a silicon floor, with the x size not a multiple of the
// thread counts so that slabs differ in width.
std::unique_ptr<TotalVolume> randomStructure(unsigned seed, float cz = 1.f)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> coin(0, 99);
    const uint32_t sx = 37, sy = 11, sz = 16;
    std::vector<uint32_t> column(sx * sy);
    for (auto &height : column)
        height = 2 + coin(random) % 7;
    return makeVolume(
        sx, sy, sz,
        [&](uint32_t x, uint32_t y, uint32_t z) -> uint32_t {
            if (z >= column[x * sy + y])
                return coin(random) < 3 ? kOxide : 0u;
            return z + 1 == column[x * sy + y] && coin(random) < 30 ? kOxide : kSilicon;
        },
        1.f, 1.f, cz);
}

} // namespace

TEST(DistanceCountingThreads, SameCellsForAnyThreadCount)
{
    using Run = std::function<void(TotalVolume &)>;
    const std::vector<std::pair<const char *, Run>> automata = {
        {"deposition", [](TotalVolume &v) { depositIsotropicFilm(v, kMetal, 3.5f); }},
        {"etching", [](TotalVolume &v) { etchIsotropicFilm(v, kSilicon, 2.5f); }},
        {"electroplating", [](TotalVolume &v) { electroplate(v, kMetal, kOxide, 3.f); }},
    };
    for (unsigned seed = 1; seed <= 3; ++seed) {
        for (const auto &automaton : automata) {
            std::vector<char> reference;
            for (int threads : {1, 2, 3, 8}) {
                ScopedThreadCount scoped(threads);
                auto volume = randomStructure(seed, seed == 3 ? 0.6f : 1.f);
                automaton.second(*volume);
                const auto state = stateOf(*volume);
                if (reference.empty())
                    reference = state;
                else
                    EXPECT_TRUE(state == reference) << automaton.first << " seed " << seed << " threads " << threads;
            }
        }
    }
}

// A cell reached by several changed neighbours, or handed over by the next slab as well, is
// evaluated once per step. Repeats would leave the cells as they are, so only the count of
// evaluated front cells can show them.
TEST(DistanceCountingThreads, EachFrontCellIsEvaluatedOncePerStep)
{
    // Flat silicon below z = 2 in 4 × 4 cells, R = 3. Step 1 evaluates plane 2; step 2 planes 2
    // and 3 (plane 2 again, reached by its own neighbours); step 3 planes 2 to 4; step 4
    // planes 3 to 5, where nothing changes any more: 16 + 32 + 48 + 48 cells.
    for (int threads : {1, 2, 3, 8}) {
        ScopedThreadCount scoped(threads);
        auto volume = makeVolume(4, 4, 8, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : 0u; });
        IsotropicFilmDeposition automaton(*volume, kOxide, 3.f);
        automaton.run(IsotropicFilmDeposition::stepCount(3.f, 1.f));
        EXPECT_EQ(automaton.evaluatedFrontCells(), 144u) << threads << " threads";
    }
}

TEST(IsotropicFilmDepositionAutomaton, EqualsTheBruteForceEuclideanOffsetForAnyThickness)
{
    // Every empty cell whose centre lies within R of a solid cell's centre is filled, and no
    // other, for scattered sources and thicknesses from one cell to nine. With the old step
    // count, ceil(R / h) · (1 + 1/√2), the front stopped before it reached the corner cells of
    // the ball around a source, which lie up to √3 · R face steps away.
    size_t filledExactly = 0, missed = 0, extra = 0;
    for (unsigned seed = 10; seed < 34; ++seed) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> coin(0, 999);
        const int perMille = seed % 2 ? 3 : 20; // sparse points or a denser scatter
        const uint32_t n = 20;
        std::vector<uint32_t> solid;
        auto volume = makeVolume(
            n, n, n, [&](uint32_t, uint32_t, uint32_t) { return coin(random) < perMille ? kSilicon : 0u; });
        const auto before = materialsOf(*volume);
        for (uint32_t i = 0; i < before.size(); ++i)
            if (before[i] != 0)
                solid.push_back(i);
        const float r = 1.f + 0.75f * float(seed % 12);
        depositIsotropicFilm(*volume, kOxide, r);
        const auto after = materialsOf(*volume);
        for (uint32_t i = 0; i < after.size(); ++i) {
            if (before[i] != 0)
                continue;
            uint32_t x, y, z;
            volume->cellCoordinates(i, x, y, z);
            double nearest = 1e30;
            for (uint32_t s : solid) {
                uint32_t a, b, c;
                volume->cellCoordinates(s, a, b, c);
                const double dx = double(x) - a, dy = double(y) - b, dz = double(z) - c;
                nearest = std::min(nearest, dx * dx + dy * dy + dz * dz);
            }
            const bool within = nearest <= double(r) * r;
            const bool filled = after[i] == kOxide;
            filledExactly += within && filled;
            missed += within && !filled;
            extra += !within && filled;
        }
    }
    EXPECT_GT(filledExactly, 0u);
    EXPECT_EQ(missed, 0u);
    EXPECT_EQ(extra, 0u);
}
