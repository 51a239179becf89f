// Continuous (CCA) wet etching: the step count, the rule's occupations, the KOH-like rate table
// ((100) layer by layer, (111) walls under a mask), a zero table, thread counts, and the
// operation through the application model.

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/Observers.h"
#include "common/ThreadCount.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiWetEtching/ContinousWetEtchOperation.h"
#include "Core/Operations/SiWetEtching/ContinuousWetEtching.h"
#include "Core/Operations/SiWetEtching/SiEtcher.h"
#include "Model/SiLattice/SiLattice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Core::Operations::CcaRateTable;
using Core::Operations::ContinuousRemovalRule;
using Core::Operations::etchSiContinuous;
using Core::Operations::kKohRateTable;
using Model::SiAtom;
using namespace TestSupport;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Silicon up to z = top, oxide at z = top + 1 but for a square opening of `opening` cells
// centred in x and y, empty above.
std::shared_ptr<TotalVolume> maskedWafer(uint32_t size, uint32_t sz, uint32_t top, uint32_t opening)
{
    const uint32_t x0 = (size - opening) / 2;
    return volumeOf(size, size, sz, [=](uint32_t x, uint32_t y, uint32_t z) {
        if (z <= top)
            return kSilicon;
        const bool inOpening = x >= x0 && x < x0 + opening && y >= x0 && y < x0 + opening;
        return z == top + 1 && !inOpening ? kOxide : 0u;
    });
}

uint32_t siliconTop(TotalVolume &volume, uint32_t x, uint32_t y)
{
    for (uint32_t z = volume.sizeZ(); z > 0; --z)
        if (materialAt(volume, x, y, z - 1) == kSilicon)
            return z;
    return 0;
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

// Steps until the rule removes the atom (atoms reset to full occupation), at most `limit`.
int stepsToRemove(const ContinuousRemovalRule &rule, std::vector<SiAtom> atoms, int limit)
{
    rule.prepare(atoms[0]);
    for (int step = 1; step <= limit; ++step)
        if (rule.removes(atoms[0], atoms.data()))
            return step;
    return limit + 1;
}

} // namespace

TEST(ContinuousWetEtching, FourStepsPerUnitAndNoneBelowAnEighth)
{
    EXPECT_EQ(Core::Operations::continuousEtchSteps(0.0), 0u);
    EXPECT_EQ(Core::Operations::continuousEtchSteps(0.124), 0u);
    EXPECT_EQ(Core::Operations::continuousEtchSteps(0.125), 1u);
    EXPECT_EQ(Core::Operations::continuousEtchSteps(1.0), 4u);
    EXPECT_EQ(Core::Operations::continuousEtchSteps(2.6), 10u);
    EXPECT_EQ(Core::Operations::continuousEtchSteps(-3.0), 0u);

    auto volume = flatVolume(8, 8, 8, 5, kSilicon);
    ASSERT_TRUE(volume->createSiLattice());
    const uint64_t atoms = volume->siLattice()->presentAtomCount();
    ASSERT_TRUE(etchSiContinuous(*volume, 0.12));
    EXPECT_EQ(volume->siLattice()->presentAtomCount(), atoms);
    for (const SiAtom &atom : volume->siLattice()->atoms())
        ASSERT_EQ(atom.occupation, 1.0f);
    // One step wears the top layer without removing it.
    ASSERT_TRUE(etchSiContinuous(*volume, 0.125));
    EXPECT_EQ(volume->siLattice()->presentAtomCount(), atoms);
    int worn = 0;
    for (const SiAtom &atom : volume->siLattice()->atoms())
        worn += atom.isPresent() && atom.occupation < 1.0f ? 1 : 0;
    EXPECT_GT(worn, 0);
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
    // (111) terrace: one open bond, three neighbours with three further bonds each.
    const std::vector<SiAtom> terrace = atomWithNeighbours(1);
    // (100): two open bonds.
    const std::vector<SiAtom> hundred = atomWithNeighbours(2);
    EXPECT_EQ(stepsToRemove(rule, hundred, 10), 2);
    EXPECT_EQ(stepsToRemove(rule, atomWithNeighbours(3), 10), 1);
    const int slow = stepsToRemove(rule, terrace, 100000);
    EXPECT_NEAR(slow, 560, 2); // 1 / (0.1 · (50/7) / 400), in single-precision steps
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
}

TEST(ContinuousWetEtching, AZeroTableLeavesTheCellsAsTheyAre)
{
    auto volume = maskedWafer(16, 12, 7, 8);
    const auto before = materialsOf(*volume);
    ASSERT_TRUE(volume->createSiLattice());
    const uint64_t atoms = volume->siLattice()->presentAtomCount();
    const CcaRateTable zeros;
    ASSERT_TRUE(etchSiContinuous(*volume, 10.0, zeros));
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(volume->siLattice()->presentAtomCount(), atoms);
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
    auto volume = maskedWafer(kSize, 22, kTop, kOpening);
    // The walls meet (w/2)·tan 54.74° = 9.9 units down, 28 layers, 56 steps; 30 more steps etch
    // on (111) only.
    ASSERT_TRUE(etchSiContinuous(*volume, 21.5));

    const uint32_t x0 = (kSize - kOpening) / 2;
    const double surface = kTop + 1;
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
    EXPECT_NEAR(std::atan(slope) * 180.0 / kPi, 54.74, 3.0);
    // The walls settle up to a cell inside the opening (the mask-edge atoms with n2 = 8 wear
    // slowly), which lifts the apex by about one unit.
    const double apex = surface - siliconTop(*volume, kSize / 2, kSize / 2);
    EXPECT_NEAR(apex, kOpening / 2.0 * std::sqrt(2.0), 2.5);
    EXPECT_GE(apex, 7.0);

    // Nothing under the oxide went, and the volume's bottom is whole.
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y) {
            const bool inOpening = x >= x0 && x < x0 + kOpening && y >= x0 && y < x0 + kOpening;
            if (!inOpening) {
                EXPECT_EQ(siliconTop(*volume, x, y), kTop + 1) << x << ", " << y;
            }
            EXPECT_EQ(materialAt(*volume, x, y, 0), kSilicon);
        }
}

TEST(ContinuousWetEtching, SameCellsForEveryThreadCount)
{
    for (uint32_t size : {9u, 27u}) {
        auto reference = maskedWafer(size, 12, 8, size / 2);
        ASSERT_TRUE(etchSiContinuous(*reference, 6.0));
        const auto want = materialsOf(*reference);
        ASSERT_NE(want, materialsOf(*maskedWafer(size, 12, 8, size / 2)));
        for (int threads : {1, 2, 3}) {
            ScopedThreadCount count(threads);
            auto volume = maskedWafer(size, 12, 8, size / 2);
            ASSERT_TRUE(etchSiContinuous(*volume, 6.0));
            EXPECT_EQ(materialsOf(*volume), want) << size << " planes, " << threads << " threads";
        }
    }
}

TEST(ContinousWetEtchOperation, EtchesOnACurrentLatticeAndLeavesItCurrent)
{
    Core::ApplicationModel model;
    auto log = std::make_shared<MessageLog>(model.inputRequest());
    model.inputRequest().addObserver(log);
    auto volume = flatVolume(8, 8, 12, 10, kSilicon);
    model.scene().addObject(volume);

    auto declined = std::make_shared<Core::Operations::ContinousWetEtchOperation>(&model);
    model.startOperation(declined);
    EXPECT_EQ(log->last(), "Continuous Wet Etch: Operation canceled.");
    EXPECT_EQ(volume->siLattice(), nullptr);

    auto op = std::make_shared<Core::Operations::ContinousWetEtchOperation>(&model);
    auto *raw = op.get();
    op->setOptionsObserver(std::make_shared<CallObserver>([raw] { raw->setDepth(2.0); }));
    model.startOperation(op);
    EXPECT_TRUE(log->contains("Continuous Wet Etch: Cell volume selected."));
    EXPECT_EQ(log->last(), "Continuous Wet Etch: Operation finished.");
    EXPECT_EQ(siliconTop(*volume, 4, 4), 9u);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::SiWetEtchingCcaId));
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}
