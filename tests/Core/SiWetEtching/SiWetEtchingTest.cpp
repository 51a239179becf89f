// Atomistic (BCA) and continuous (CCA) wet etching of silicon: step counts, the removal rules on
// single atoms, (100) surfaces layer by layer, the reference pyramid with {111} walls at 54.7°,
// the atom bookkeeping, slabs, thread counts, and when the operation rebuilds the lattice.

#include "../CellChecks.h"
#include "../StepRun.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Core/Operations/SiWetEtching/ContinuousWetEtching.h"
#include "Core/Operations/SiWetEtching/SiEtcher.h"
#include "Model/SiLattice/SiLattice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace Core::Operations;
using namespace TestSupport;
using Model::SiAtom;

namespace {

constexpr double kLayer = 0.35; // (100) layer spacing, a/4

// Silicon up to z = top, an oxide layer above it with a square opening of `opening` cells
// centred in x and y, empty above the oxide.
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

// The height of the highest silicon cell + 1 in a column, 0 when it holds none.
uint32_t siliconTop(TotalVolume &volume, uint32_t x, uint32_t y)
{
    for (uint32_t z = volume.sizeZ(); z > 0; --z)
        if (materialAt(volume, x, y, z - 1) == kSilicon)
            return z;
    return 0;
}

// The pit etched through a square opening of a `size` × `size` wafer: the slope of one wall
// along the centre line is tan 54.74°, the apex lies (w/2)·√2 down, nothing under the oxide went
// and the volume's bottom is whole.
void expectPyramid(TotalVolume &volume, uint32_t size, uint32_t top, uint32_t opening, double angleTolerance,
                   double apexTolerance)
{
    const uint32_t x0 = (size - opening) / 2;
    const double surface = top + 1;
    double sx = 0, sy = 0, sxx = 0, sxy = 0, n = 0;
    for (uint32_t x = x0; x < size / 2; ++x) {
        const double depth = surface - siliconTop(volume, x, size / 2);
        if (depth <= 0.0)
            continue;
        const double at = double(x) + 0.5;
        sx += at, sy += depth, sxx += at * at, sxy += at * depth, n += 1;
    }
    ASSERT_GE(n, 5.0);
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    EXPECT_NEAR(std::atan(slope) * 180.0 / M_PI, 54.74, angleTolerance);
    const double apex = surface - siliconTop(volume, size / 2, size / 2);
    EXPECT_NEAR(apex, opening / 2.0 * std::sqrt(2.0), apexTolerance);
    for (uint32_t x = 0; x < size; ++x)
        for (uint32_t y = 0; y < size; ++y) {
            const bool underOxide = x < x0 || x >= x0 + opening || y < x0 || y >= x0 + opening;
            EXPECT_TRUE(!underOxide || siliconTop(volume, x, y) == top + 1) << x << ", " << y;
            EXPECT_EQ(materialAt(volume, x, y, 0), kSilicon);
        }
}

// How many atoms each cell holds, in cell-index order.
std::vector<int32_t> atomCountsOf(TotalVolume &volume)
{
    const Model::Automaton::CellReadLock lock(volume);
    std::vector<int32_t> counts;
    for (uint32_t c = 0; c < volume.cellCount(); ++c)
        counts.push_back(lock.cells()[c].atomCount());
    return counts;
}

// Present atoms per (100) layer index (z / 0.35), over atoms whose cell column lies in the box.
std::map<int, int> presentAtomsPerLayer(TotalVolume &volume, uint32_t low, uint32_t high)
{
    auto lattice = volume.siLattice();
    std::map<int, int> layers;
    for (uint32_t a = 0; a < lattice->atoms().size(); ++a) {
        const SiAtom &atom = lattice->atoms()[a];
        uint32_t x, y, z;
        volume.cellCoordinates(uint32_t(atom.cellIndex), x, y, z);
        if (atom.isPresent() && x >= low && x < high && y >= low && y < high)
            ++layers[int(std::lround(lattice->atomPosition(a).z / kLayer))];
    }
    return layers;
}

// Atom 0 with `open` open bonds, the others bonded to atoms 1, 2, … whose other bonds are fixed.
std::vector<SiAtom> atomWithNeighbours(int open)
{
    std::vector<SiAtom> atoms(5);
    uint32_t next = 1;
    for (int slot = 0; slot < SiAtom::kBondCount; ++slot)
        atoms[0].bonds[slot] = slot < open ? SiAtom::kNoAtom : next++;
    for (uint32_t i = 1; i < atoms.size(); ++i) {
        atoms[i].bonds[0] = 0;
        for (int b = 1; b < SiAtom::kBondCount; ++b)
            atoms[i].bonds[b] = SiAtom::kFixedAtom;
    }
    return atoms;
}

// Steps until the continuous rule removes the atom, at most `limit`.
int stepsToRemove(const ContinuousRemovalRule &rule, std::vector<SiAtom> atoms, int limit)
{
    rule.prepare(atoms[0]);
    for (int step = 1; step <= limit; ++step)
        if (rule.removes(atoms[0], atoms.data()))
            return step;
    return limit + 1;
}

} // namespace

TEST(WetEtchSteps, AtomisticRoundsToLayersContinuousTakesFourPerUnitAndTooLittleChangesNothing)
{
    using Cases = std::vector<std::pair<double, uint32_t>>;
    for (const auto &c : Cases{{0.0, 0}, {0.1749, 0}, {0.175, 1}, {0.35, 1}, {0.7, 2}, {3.5, 10}, {-4.0, 0}})
        EXPECT_EQ(atomisticEtchSteps(c.first), c.second) << c.first;
    for (const auto &c : Cases{{0.0, 0}, {0.124, 0}, {0.125, 1}, {1.0, 4}, {2.6, 10}, {-3.0, 0}})
        EXPECT_EQ(continuousEtchSteps(c.first), c.second) << c.first;
    auto volume = flatVolume(8, 8, 8, 5, kSilicon);
    ASSERT_TRUE(volume->createSiLattice());
    const uint64_t atoms = volume->siLattice()->presentAtomCount();
    const auto before = materialsOf(*volume);
    ASSERT_TRUE(etchSiAtomistic(*volume, 0.17));
    ASSERT_TRUE(etchSiContinuous(*volume, 0.12));
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(volume->siLattice()->presentAtomCount(), atoms);
    for (const SiAtom &atom : volume->siLattice()->atoms())
        ASSERT_EQ(atom.occupation, 1.0f);
    // One continuous step wears the top layer without removing it.
    ASSERT_TRUE(etchSiContinuous(*volume, 0.125));
    EXPECT_EQ(volume->siLattice()->presentAtomCount(), atoms);
    int worn = 0;
    for (const SiAtom &atom : volume->siLattice()->atoms())
        worn += atom.isPresent() && atom.occupation < 1.0f ? 1 : 0;
    EXPECT_GT(worn, 0);
    ASSERT_TRUE(etchSiAtomistic(*volume, 0.175));
    EXPECT_LT(volume->siLattice()->presentAtomCount(), atoms);
}

TEST(AtomisticSiWetEtching, AFlatHundredSurfaceLosesOneAtomicLayerPerStep)
{
    auto volume = flatVolume(16, 16, 12, 8, kSilicon);
    ASSERT_TRUE(volume->createSiLattice());
    // Away from the volume's sides, which hold the edges of every layer.
    const auto initial = presentAtomsPerLayer(*volume, 4, 12);
    const int topLayer = initial.rbegin()->first;
    SiEtcher<AtomisticRemovalRule> etcher(*volume);
    etcher.initialise();
    for (int step = 1; step <= 6; ++step) {
        etcher.step();
        const auto now = presentAtomsPerLayer(*volume, 4, 12);
        for (const auto &layer : initial) {
            const auto found = now.find(layer.first);
            const int left = found == now.end() ? 0 : found->second;
            EXPECT_EQ(left, layer.first > topLayer - step ? 0 : layer.second)
                << "layer " << layer.first << " after step " << step;
        }
    }
    etcher.finish();
}

TEST(AtomisticSiWetEtching, AHundredElevenSurfaceAtomStays)
{
    // One open bond, three neighbours bonded all round: n = 3, m = 9.
    std::vector<SiAtom> atoms = atomWithNeighbours(1);
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
    uint32_t steps = 0;
    {
        SiEtcher<AtomisticRemovalRule> etcher(*volume); // holds the cells until it goes
        etcher.initialise();
        while (steps < 200 && etcher.step() > 0)
            ++steps;
        etcher.finish();
    }
    // The walls meet (w/2)·tan 54.74° = 11.3 units down, about 32 layers.
    EXPECT_GE(steps, 29u);
    EXPECT_LE(steps, 34u);
    expectPyramid(*volume, kSize, kTop, kOpening, 2.0, 1.5);
}

TEST(AtomisticSiWetEtching, TheVolumesSidesAndBottomAreNoEtchFront)
{
    // Silicon filling the volume up to its top faces only the outside: nothing etches.
    auto full = flatVolume(10, 10, 8, 8, kSilicon);
    const auto before = materialsOf(*full);
    ASSERT_TRUE(etchSiAtomistic(*full, 20.0));
    EXPECT_EQ(materialsOf(*full), before);

    // A wafer on the volume's bottom and sides etches from its open top only: four layers
    // (1.4 units) down, nothing below z = 4 goes, at the sides as in the middle.
    auto wafer = flatVolume(12, 12, 10, 6, kSilicon);
    ASSERT_TRUE(etchSiAtomistic(*wafer, 4 * kLayer));
    const auto cells = materialsOf(*wafer);
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_TRUE(i % 10 >= 4 || cells[i] == kSilicon) << "cell " << i;
    // The same block set off from the volume's faces by empty cells etches from every side.
    auto island = volumeOf(12, 12, 10, [](uint32_t x, uint32_t y, uint32_t z) {
        return x >= 2 && x < 10 && y >= 2 && y < 10 && z >= 2 && z < 6 ? kSilicon : 0u;
    });
    ASSERT_TRUE(etchSiAtomistic(*island, 4 * kLayer));
    EXPECT_EQ(materialAt(*island, 5, 5, 2), 0u); // its bottom
    EXPECT_EQ(materialAt(*island, 2, 5, 3), 0u); // its sides
    EXPECT_EQ(materialAt(*island, 5, 2, 3), 0u);
}

TEST(AtomisticSiWetEtching, ACellKeepsItsMaterialWhileOneOfItsAtomsRemains)
{
    auto volume = maskedWafer(20, 20, 12, 7, 8);
    ASSERT_TRUE(volume->createSiLattice());
    auto lattice = volume->siLattice();
    for (int depth = 1; depth <= 4; ++depth) {
        ASSERT_TRUE(etchSiAtomistic(*volume, kLayer * 2));
        std::vector<int32_t> present(volume->cellCount(), 0), built(volume->cellCount(), 0);
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

TEST(ContinuousWetEtching, AtomsWithFourBondedNeighboursAreNeverWorn)
{
    const ContinuousRemovalRule rule;
    // Four neighbours, each itself a surface atom with open bonds, or fixed positions.
    std::vector<SiAtom> atoms = atomWithNeighbours(0);
    for (uint32_t i = 1; i < 4; ++i)
        atoms[i].bonds[2] = atoms[i].bonds[3] = SiAtom::kNoAtom;
    atoms[4].state = SiAtom::Fixed;
    ASSERT_FALSE(rule.removes(atoms[0], atoms.data()));
    atoms[4].state = SiAtom::Present;
    atoms[0].bonds[3] = SiAtom::kFixedAtom;
    for (int step = 0; step < 1000; ++step)
        ASSERT_FALSE(rule.removes(atoms[0], atoms.data()));
    EXPECT_EQ(atoms[0].occupation, 1.0f);

    // A removed neighbour frees the atom's bond: then it wears.
    atoms[1].state = SiAtom::Removed;
    rule.removes(atoms[0], atoms.data());
    EXPECT_LT(atoms[0].occupation, 1.0f);
}

TEST(ContinuousWetEtching, KohTableWearsHundredInTwoStepsAndHundredElevenFourHundredTimesSlower)
{
    const ContinuousRemovalRule rule;
    // (100): two open bonds; (111) terrace: one open bond, three neighbours with three further
    // bonds each.
    const std::vector<SiAtom> hundred = atomWithNeighbours(2);
    EXPECT_EQ(stepsToRemove(rule, hundred, 10), 2);
    EXPECT_EQ(stepsToRemove(rule, atomWithNeighbours(3), 10), 1);
    EXPECT_NEAR(stepsToRemove(rule, atomWithNeighbours(1), 100000), 560, 2); // 1 / (0.1 · (50/7) / 400)
    EXPECT_NEAR(kKohRateTable.rate(2, 6) / kKohRateTable.rate(3, 9), 400.0, 1e-9);
    // Steep between n2 = 7 ((110), a little faster than (100) per atom) and 9.
    EXPECT_GT(kKohRateTable.rate(3, 7), kKohRateTable.rate(2, 6));
    EXPECT_GT(kKohRateTable.rate(3, 8), 10.0 * kKohRateTable.rate(3, 9));
    EXPECT_LT(kKohRateTable.rate(3, 8), 0.1 * kKohRateTable.rate(3, 7));
    for (int n2 = 0; n2 <= CcaRateTable::kMaxSecondNeighbours; ++n2)
        for (int n1 = 0; n1 <= 2; ++n1)
            EXPECT_GE(kKohRateTable.rate(n1, n2), kKohRateTable.rate(2, 6)) << n1 << ", " << n2;

    // The occupation is kept between steps, and is 0 once the atom goes.
    std::vector<SiAtom> atoms = hundred;
    rule.prepare(atoms[0]);
    EXPECT_FALSE(rule.removes(atoms[0], atoms.data()));
    EXPECT_NEAR(atoms[0].occupation, 1.0 - 0.1 * 50.0 / 7.0, 1e-6);
    EXPECT_TRUE(rule.removes(atoms[0], atoms.data()));
    EXPECT_EQ(atoms[0].occupation, 0.0f);

    // A table of zeros leaves the cells as they are.
    auto volume = maskedWafer(16, 16, 12, 7, 8);
    const auto before = materialsOf(*volume);
    ASSERT_TRUE(etchSiContinuous(*volume, 10.0, CcaRateTable()));
    EXPECT_EQ(materialsOf(*volume), before);
}

TEST(ContinuousWetEtching, AFlatHundredSurfaceGoesDownALayerEveryTwoSteps)
{
    // Unit cells, silicon below z = 10: (100) layers at z = 0.35·k, the top one at 9.8. Eight
    // steps take four layers (to 8.4: cell 9 empties), twenty take ten (to 6.3: cell 7 too).
    // Away from the volume's sides, whose atoms count the outside as bonded.
    auto volume = flatVolume(10, 10, 14, 10, kSilicon);
    ASSERT_TRUE(etchSiContinuous(*volume, 2.0));
    for (uint32_t x = 2; x < 8; ++x)
        for (uint32_t y = 2; y < 8; ++y)
            ASSERT_EQ(siliconTop(*volume, x, y), 9u) << x << ", " << y;
    ASSERT_TRUE(etchSiContinuous(*volume, 3.0));
    EXPECT_EQ(siliconTop(*volume, 5, 5), 7u);
    EXPECT_EQ(countInColumn(*volume, 3, 6, kSilicon), 7u);
}

// The reference pit: a square opening aligned with the lattice's <110> directions (the grid's x
// and y) etches an inverted pyramid whose walls are {111} planes at 54.7° to the surface, and
// the (111) walls hold while the etch goes on.
TEST(ContinuousWetEtching, ASquareOpeningEtchesAPyramidWithHundredElevenWalls)
{
    constexpr uint32_t kTop = 15, kOpening = 14, kSize = 32;
    auto volume = maskedWafer(kSize, kSize, 22, kTop, kOpening);
    // The walls meet (w/2)·tan 54.74° = 9.9 units down, 28 layers, 56 steps; 30 more steps etch
    // on (111) only.
    ASSERT_TRUE(etchSiContinuous(*volume, 21.5));
    // The walls settle up to a cell inside the opening (the mask-edge atoms with n2 = 8 wear
    // slowly), which lifts the apex by about one unit.
    expectPyramid(*volume, kSize, kTop, kOpening, 3.0, 2.5);
    EXPECT_GE(kTop + 1.0 - siliconTop(*volume, kSize / 2, kSize / 2), 7.0);
}

TEST(SiWetEtching, SameCellsAndAtomsForEveryThreadCount)
{
    // Widths below two and three times the thread counts and well above them.
    for (uint32_t size : {9u, 26u}) {
        const auto wafer = [size] { return maskedWafer(size, 21, 12, 8, size / 2); };
        const auto atomistic = CoreTest::sameForEveryThreadCount([&] {
            auto volume = wafer();
            EXPECT_TRUE(etchSiAtomistic(*volume, 2.8));
            return std::make_pair(materialsOf(*volume), atomCountsOf(*volume));
        }, "atomistic, " + std::to_string(size) + " planes");
        const auto continuous = CoreTest::sameForEveryThreadCount([&] {
            auto volume = wafer();
            EXPECT_TRUE(etchSiContinuous(*volume, 6.0));
            return materialsOf(*volume);
        }, "continuous, " + std::to_string(size) + " planes");
        EXPECT_NE(atomistic.first, materialsOf(*wafer()));
        EXPECT_NE(continuous, materialsOf(*wafer()));
    }
}

TEST(SiWetEtching, SlabsAreNeverNarrowerThanABondReaches)
{
    EXPECT_EQ(minimumSlabWidthForBonds(1.0f), 1u);
    EXPECT_EQ(minimumSlabWidthForBonds(0.25f), 2u);
    EXPECT_EQ(splitSlabsAtLeast(10, 3, 1), (std::vector<Util::Slab>{{0, 3}, {3, 6}, {6, 10}}));
    EXPECT_EQ(splitSlabsAtLeast(10, 8, 2), (std::vector<Util::Slab>{{0, 2}, {2, 4}, {4, 6}, {6, 8}, {8, 10}}));
    EXPECT_EQ(splitSlabsAtLeast(2, 8, 3), (std::vector<Util::Slab>{{0, 2}}));
}

// The lattice is built on the first etch and kept while the volume's history says it is current.
TEST(AtomisticSiWetEtchingOperation, RebuildsTheLatticeOnlyWhenTheHistoryMarksItOutOfDate)
{
    Core::ApplicationModel model;
    auto volume = flatVolume(8, 8, 8, 5, kSilicon);
    model.scene().addObject(volume);
    const auto etch = [&](double depth) {
        CoreTest::startStep<AtomisticSiWetEtchingOperation>(model, [depth](auto &op) { op.setDepth(depth); });
    };
    etch(2.8); // eight layers: the cells at z = 3 and 4 go
    const auto first = volume->siLattice();
    ASSERT_TRUE(first);
    ASSERT_EQ(materialAt(*volume, 4, 4, 4), 0u);

    // Silicon put back without the history knowing is not in the lattice, so it does not etch.
    setMaterialAt(*volume, 4, 4, 4, kSilicon);
    etch(0.7);
    EXPECT_EQ(volume->siLattice(), first);
    EXPECT_EQ(materialAt(*volume, 4, 4, 4), kSilicon);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    etch(0.7);
    EXPECT_NE(volume->siLattice(), first);
    EXPECT_EQ(materialAt(*volume, 4, 4, 4), 0u);
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}
