// Atomistic wet etching on small wafers: layer-by-layer (100) etching, (111) stops, masks, the
// volume's own faces, the cells' atom bookkeeping and thread-count independence.

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/ThreadCount.h"

#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"
#include "Core/Operations/SiWetEtching/SiEtcher.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/SiLattice/SiLattice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using Core::Operations::AtomisticRemovalRule;
using Core::Operations::SiEtcher;
using Model::SiAtom;
using namespace TestSupport;

namespace {

constexpr double kLayer = 0.35; // (100) layer spacing, a/4
constexpr double kPi = 3.14159265358979323846;

using AtomisticEtcher = SiEtcher<AtomisticRemovalRule>;

// The wafer of the reference pit: silicon up to z = top, an oxide layer above it with a square
// opening of `opening` cells centred in x and y, empty above the oxide.
std::shared_ptr<TotalVolume> maskedWafer(uint32_t sx, uint32_t sy, uint32_t sz, uint32_t top, uint32_t opening)
{
    const uint32_t x0 = (sx - opening) / 2, y0 = (sy - opening) / 2;
    return volumeOf(sx, sy, sz, [=](uint32_t x, uint32_t y, uint32_t z) {
        if (z <= top)
            return kSilicon;
        const bool inOpening = x >= x0 && x < x0 + opening && y >= y0 && y < y0 + opening;
        return z == top + 1 && !inOpening ? kOxide : 0u;
    });
}

// Present atoms per (100) layer index (z / 0.35), over atoms whose cell column lies in the box.
std::map<int, int> presentAtomsPerLayer(TotalVolume &volume, uint32_t xMin, uint32_t xEnd, uint32_t yMin, uint32_t yEnd)
{
    auto lattice = volume.siLattice();
    std::map<int, int> layers;
    for (uint32_t a = 0; a < lattice->atoms().size(); ++a) {
        const SiAtom &atom = lattice->atoms()[a];
        if (!atom.isPresent())
            continue;
        uint32_t x, y, z;
        volume.cellCoordinates(uint32_t(atom.cellIndex), x, y, z);
        if (x >= xMin && x < xEnd && y >= yMin && y < yEnd)
            ++layers[int(std::lround(lattice->atomPosition(a).z / kLayer))];
    }
    return layers;
}

// The height of the highest silicon cell + 1 in a column, 0 when it holds none.
uint32_t siliconTop(TotalVolume &volume, uint32_t x, uint32_t y)
{
    for (uint32_t z = volume.sizeZ(); z > 0; --z)
        if (materialAt(volume, x, y, z - 1) == kSilicon)
            return z;
    return 0;
}

// Runs steps until one removes nothing; returns the number of steps that removed atoms.
uint32_t etchUntilItStops(TotalVolume &volume, uint32_t limit)
{
    AtomisticEtcher etcher(volume);
    etcher.initialise();
    uint32_t steps = 0;
    while (steps < limit && etcher.step() > 0)
        ++steps;
    etcher.finish();
    return steps;
}

} // namespace

TEST(AtomisticSiWetEtching, StepsAreOnePerLayerRoundedAndNoneBelowHalfALayer)
{
    EXPECT_EQ(Core::Operations::atomisticEtchSteps(0.0), 0u);
    EXPECT_EQ(Core::Operations::atomisticEtchSteps(0.1749), 0u);
    EXPECT_EQ(Core::Operations::atomisticEtchSteps(0.175), 1u);
    EXPECT_EQ(Core::Operations::atomisticEtchSteps(0.35), 1u);
    EXPECT_EQ(Core::Operations::atomisticEtchSteps(0.7), 2u);
    EXPECT_EQ(Core::Operations::atomisticEtchSteps(3.5), 10u);
    EXPECT_EQ(Core::Operations::atomisticEtchSteps(-4.0), 0u);

    auto volume = flatVolume(8, 8, 8, 5, kSilicon);
    ASSERT_TRUE(volume->createSiLattice());
    const uint64_t atoms = volume->siLattice()->presentAtomCount();
    const auto before = materialsOf(*volume);
    ASSERT_TRUE(Core::Operations::etchSiAtomistic(*volume, 0.17));
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(volume->siLattice()->presentAtomCount(), atoms);
    ASSERT_TRUE(Core::Operations::etchSiAtomistic(*volume, 0.175));
    EXPECT_LT(volume->siLattice()->presentAtomCount(), atoms);
}

TEST(AtomisticSiWetEtching, AFlatHundredSurfaceLosesOneAtomicLayerPerStep)
{
    auto volume = flatVolume(16, 16, 12, 8, kSilicon);
    ASSERT_TRUE(volume->createSiLattice());
    // Away from the volume's sides, which hold the edges of every layer.
    const auto initial = presentAtomsPerLayer(*volume, 4, 12, 4, 12);
    const int topLayer = initial.rbegin()->first;

    AtomisticEtcher etcher(*volume);
    etcher.initialise();
    for (int step = 1; step <= 6; ++step) {
        etcher.step();
        const auto now = presentAtomsPerLayer(*volume, 4, 12, 4, 12);
        for (const auto &layer : initial) {
            const auto found = now.find(layer.first);
            const int left = found == now.end() ? 0 : found->second;
            if (layer.first > topLayer - step)
                EXPECT_EQ(left, 0) << "layer " << layer.first << " after step " << step;
            else
                EXPECT_EQ(left, layer.second) << "layer " << layer.first << " after step " << step;
        }
    }
    etcher.finish();
}

TEST(AtomisticSiWetEtching, AHundredElevenSurfaceAtomStays)
{
    // One open bond, three neighbours bonded all round: n = 3, m = 9.
    std::vector<SiAtom> atoms(4);
    atoms[0].bonds[0] = SiAtom::kNoAtom;
    for (uint32_t i = 1; i < 4; ++i) {
        atoms[0].bonds[i] = i;
        atoms[i].bonds[0] = 0;
        for (int b = 1; b < 4; ++b)
            atoms[i].bonds[b] = SiAtom::kFixedAtom;
    }
    const AtomisticRemovalRule rule;
    EXPECT_FALSE(rule.removes(atoms[0], atoms.data()));
    // One neighbour short of a further bond (m = 8) and the atom goes; two open bonds always go.
    atoms[1].bonds[1] = SiAtom::kNoAtom;
    EXPECT_TRUE(rule.removes(atoms[0], atoms.data()));
    atoms[1].bonds[1] = SiAtom::kFixedAtom;
    atoms[0].bonds[1] = SiAtom::kNoAtom;
    EXPECT_TRUE(rule.removes(atoms[0], atoms.data()));
    EXPECT_FALSE(rule.removes(atoms[2], atoms.data()));
}

// The reference pit: a 16 × 16 opening in oxide over silicon up to z = 17 in a 40 × 40 × 24
// volume etches an inverted pyramid that stops by itself on its {111} walls.
TEST(AtomisticSiWetEtching, ASquareOpeningEtchesAPyramidThatStopsOnItsHundredElevenWalls)
{
    constexpr uint32_t kTop = 17, kOpening = 16, kSize = 40;
    auto volume = maskedWafer(kSize, kSize, 24, kTop, kOpening);
    const uint32_t steps = etchUntilItStops(*volume, 200);
    // The walls meet (w/2)·tan 54.74° = 11.3 units down, about 32 layers.
    EXPECT_GE(steps, 29u);
    EXPECT_LE(steps, 34u);

    const uint32_t x0 = (kSize - kOpening) / 2;
    const double surface = kTop + 1;
    // Depth along the centre line across one wall, from the cells: its slope is tan of the wall angle.
    std::vector<std::pair<double, double>> wall;
    for (uint32_t x = x0; x < kSize / 2; ++x) {
        const double depth = surface - siliconTop(*volume, x, kSize / 2);
        if (depth > 0.0)
            wall.emplace_back(double(x) + 0.5, depth);
    }
    ASSERT_GE(wall.size(), 5u);
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto &p : wall) {
        sx += p.first;
        sy += p.second;
        sxx += p.first * p.first;
        sxy += p.first * p.second;
    }
    const double n = double(wall.size());
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    EXPECT_NEAR(std::atan(slope) * 180.0 / kPi, 54.74, 2.0);
    // The apex lies where the opening allows.
    const double apex = surface - siliconTop(*volume, kSize / 2, kSize / 2);
    EXPECT_NEAR(apex, kOpening / 2.0 * std::sqrt(2.0), 1.5);

    // Nothing under the oxide went, and the bottom and sides of the volume are whole.
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y) {
            const bool inOpening = x >= x0 && x < x0 + kOpening && y >= x0 && y < x0 + kOpening;
            if (!inOpening) {
                EXPECT_EQ(siliconTop(*volume, x, y), kTop + 1) << x << ", " << y;
            }
            EXPECT_EQ(materialAt(*volume, x, y, 0), kSilicon);
        }
}

TEST(AtomisticSiWetEtching, TheVolumesSidesAndBottomAreNoEtchFront)
{
    // Silicon filling the volume up to its top faces only the outside: nothing etches.
    auto full = flatVolume(10, 10, 8, 8, kSilicon);
    const auto before = materialsOf(*full);
    ASSERT_TRUE(Core::Operations::etchSiAtomistic(*full, 20.0));
    EXPECT_EQ(materialsOf(*full), before);

    // A wafer on the volume's bottom and sides etches from its open top only: four layers
    // (1.4 units) down, nothing below z = 4 goes, at the sides as in the middle.
    constexpr double kDepth = 4 * kLayer;
    auto wafer = flatVolume(12, 12, 10, 6, kSilicon);
    ASSERT_TRUE(Core::Operations::etchSiAtomistic(*wafer, kDepth));
    // The same block set off from the volume's faces by empty cells etches from every side.
    auto island = volumeOf(12, 12, 10, [](uint32_t x, uint32_t y, uint32_t z) {
        return x >= 2 && x < 10 && y >= 2 && y < 10 && z >= 2 && z < 6 ? kSilicon : 0u;
    });
    ASSERT_TRUE(Core::Operations::etchSiAtomistic(*island, kDepth));
    for (uint32_t x = 0; x < 12; ++x)
        for (uint32_t y = 0; y < 12; ++y)
            for (uint32_t z = 0; z < 4; ++z)
                EXPECT_EQ(materialAt(*wafer, x, y, z), kSilicon) << x << ", " << y << ", " << z;
    EXPECT_EQ(materialAt(*island, 5, 5, 2), 0u);  // its bottom
    EXPECT_EQ(materialAt(*island, 2, 5, 3), 0u);  // its sides
    EXPECT_EQ(materialAt(*island, 5, 2, 3), 0u);
}

TEST(AtomisticSiWetEtching, ACellKeepsItsMaterialWhileOneOfItsAtomsRemains)
{
    auto volume = maskedWafer(20, 20, 12, 7, 8);
    ASSERT_TRUE(volume->createSiLattice());
    auto lattice = volume->siLattice();
    for (int depth = 1; depth <= 4; ++depth) {
        ASSERT_TRUE(Core::Operations::etchSiAtomistic(*volume, kLayer * 2));
        std::vector<int32_t> present(volume->cellCount(), 0);
        std::vector<int32_t> built(volume->cellCount(), 0);
        for (const SiAtom &atom : lattice->atoms()) {
            if (atom.cellIndex < 0)
                continue;
            ++built[atom.cellIndex];
            present[atom.cellIndex] += atom.isPresent() ? 1 : 0;
        }
        const Model::Automaton::CellReadLock lock(*volume);
        int partlyEtched = 0;
        for (uint32_t c = 0; c < volume->cellCount(); ++c) {
            const auto &cell = lock.cells()[c];
            EXPECT_EQ(cell.atomCount(), present[c]) << "cell " << c;
            if (built[c] > 0) {
                EXPECT_EQ(cell.material() == kSilicon, present[c] > 0) << "cell " << c;
            }
            partlyEtched += present[c] > 0 && present[c] < built[c];
        }
        EXPECT_GT(partlyEtched, 0);
    }
}

TEST(AtomisticSiWetEtching, SameCellsForEveryThreadCount)
{
    std::vector<uint32_t> reference;
    std::vector<int32_t> referenceCounts;
    for (int t : kThreadCounts) {
        ScopedThreadCount threads(t);
        auto volume = maskedWafer(26, 21, 12, 8, 10);
        ASSERT_TRUE(Core::Operations::etchSiAtomistic(*volume, 2.8));
        std::vector<int32_t> counts;
        {
            const Model::Automaton::CellReadLock lock(*volume);
            for (uint32_t c = 0; c < volume->cellCount(); ++c)
                counts.push_back(lock.cells()[c].atomCount());
        }
        if (reference.empty()) {
            reference = materialsOf(*volume);
            referenceCounts = counts;
            EXPECT_NE(std::count(reference.begin(), reference.end(), kSilicon), 26 * 21 * 9);
            continue;
        }
        EXPECT_EQ(materialsOf(*volume), reference) << t << " threads";
        EXPECT_EQ(counts, referenceCounts) << t << " threads";
    }
}

TEST(AtomisticSiWetEtching, SlabsAreNeverNarrowerThanABondReaches)
{
    using Core::Operations::minimumSlabWidthForBonds;
    using Core::Operations::splitSlabsAtLeast;
    EXPECT_EQ(minimumSlabWidthForBonds(1.0f), 1u);
    EXPECT_EQ(minimumSlabWidthForBonds(0.25f), 2u);
    EXPECT_EQ(splitSlabsAtLeast(10, 3, 1), (std::vector<Util::Slab>{{0, 3}, {3, 6}, {6, 10}}));
    EXPECT_EQ(splitSlabsAtLeast(10, 8, 2), (std::vector<Util::Slab>{{0, 2}, {2, 4}, {4, 6}, {6, 8}, {8, 10}}));
    EXPECT_EQ(splitSlabsAtLeast(2, 8, 3), (std::vector<Util::Slab>{{0, 2}}));
}
