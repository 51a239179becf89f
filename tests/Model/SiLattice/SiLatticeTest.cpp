// The silicon lattice laid over a volume: which positions hold atoms, how they are bonded, and
// how it refuses a lattice that would not fit in memory.

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/ThreadCount.h"

#include "Model/Automaton/CellLock.h"
#include "Model/SiLattice/SiLattice.h"
#include "Model/SiLattice/SiLatticeGeometry.h"
#include "Model/SiLattice/SiNeighbourCounts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

using Model::SiAtom;
using Model::SiLattice;
using Model::SiLatticeGeometry;
using namespace TestSupport;

namespace {

constexpr double kBondLength = SiLatticeGeometry::kUnitCellEdge * 1.7320508075688772 / 4.0; // a·√3/4

double distance(const Util::Vector3D &a, const Util::Vector3D &b)
{
    const Util::Vector3D d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

// Atoms per cell of the volume's cells, from the cells' atom counts.
std::vector<int32_t> atomCountsOf(TotalVolume &volume)
{
    return fieldOf(volume, [](const Model::Automaton::Cell &cell) { return cell.atomCount(); });
}

} // namespace

TEST(SiLatticeGeometry, EveryBondEndsOnAnAtomOfTheOtherSetAtTheBondLength)
{
    for (uint32_t slot = 0; slot < SiLatticeGeometry::kAtomsPerCell; ++slot) {
        const Model::QuarterOffset q = SiLatticeGeometry::atomQuarters()[slot];
        for (int b = 0; b < SiLatticeGeometry::kBondsPerAtom; ++b) {
            const Model::QuarterOffset d = SiLatticeGeometry::bondQuarters(slot)[b];
            const int other = SiLatticeGeometry::slotAt((q.x + d.x + 4) % 4, (q.y + d.y + 4) % 4, (q.z + d.z + 4) % 4);
            ASSERT_NE(other, SiLatticeGeometry::kNoSlot) << "slot " << slot << " bond " << b;
            EXPECT_NE(slot & 2u, uint32_t(other) & 2u);
            // The bond-end table agrees: the unit cell reached and the slot in it.
            const SiLatticeGeometry::BondEnd &end = SiLatticeGeometry::bondEnd(slot, b);
            const Model::QuarterOffset o = SiLatticeGeometry::atomQuarters()[other];
            EXPECT_EQ(end.slot, uint32_t(other));
            EXPECT_EQ(std::make_tuple(end.cell.x * 4 + int(o.x), end.cell.y * 4 + int(o.y), end.cell.z * 4 + int(o.z)),
                      std::make_tuple(q.x + d.x, q.y + d.y, q.z + d.z));
        }
        for (const auto &v : SiLatticeGeometry::bondVectors(slot))
            EXPECT_NEAR(distance(v, Util::Vector3D()), kBondLength, 1e-12);
    }
    // The 45-degree turn puts the lattice's [110] direction along x.
    const Util::Vector3D turned = SiLatticeGeometry::rotate(1.0, -1.0, 0.0);
    EXPECT_NEAR(turned.x, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(turned.y, 0.0, 1e-12);
}

TEST(SiLattice, BuildsOneAtomPerSiliconPositionWithMutualBondsAndCountsThemInTheCells)
{
    auto volume = flatVolume(10, 8, 9, 6, kSilicon);
    QString why;
    ASSERT_TRUE(volume->createSiLattice(&why)) << why.toStdString();
    auto lattice = volume->siLattice();
    ASSERT_TRUE(lattice);

    const std::vector<int32_t> counts = atomCountsOf(*volume);
    std::map<int32_t, int32_t> perCell;
    uint64_t inSilicon = 0;
    for (uint32_t a = 0; a < lattice->atoms().size(); ++a) {
        const SiAtom &atom = lattice->atoms()[a];
        if (atom.cellIndex < 0) {
            EXPECT_TRUE(atom.isRemoved());
            continue;
        }
        EXPECT_TRUE(atom.isPresent());
        ++perCell[atom.cellIndex];
        ++inSilicon;
        // The atom's position lies in its cell.
        const Util::Vector3D p = lattice->atomPosition(a);
        uint32_t x, y, z;
        volume->cellCoordinates(uint32_t(atom.cellIndex), x, y, z);
        EXPECT_EQ(Util::Vector3D(std::floor(p.x), std::floor(p.y), std::floor(p.z)), Util::Vector3D(x, y, z));
        EXPECT_LT(z, 6u);
        // Bonds between atoms are mutual and one bond length long.
        for (uint32_t bond : atom.bonds) {
            if (!SiAtom::isAtomIndex(bond))
                continue;
            EXPECT_NEAR(distance(p, lattice->atomPosition(bond)), kBondLength, 1e-9);
            const auto &back = lattice->atoms()[bond].bonds;
            EXPECT_EQ(std::count(std::begin(back), std::end(back), a), 1);
        }
    }
    EXPECT_EQ(lattice->presentAtomCount(), inSilicon);
    for (uint32_t c = 0; c < volume->cellCount(); ++c)
        EXPECT_EQ(counts[c], perCell.count(int32_t(c)) ? perCell[int32_t(c)] : 0) << "cell " << c;
    // Eight atoms per a³ over 10 × 8 × 6 cells of volume 1; a block this small also holds the atoms
    // lying on its lower faces, some 9 % more.
    const double expected = double(SiLattice::estimatedAtoms(10 * 8 * 6, 1.0));
    EXPECT_NEAR(double(inSilicon), expected, 0.1 * expected);
}

// The bonds of positions without silicon: open towards empty cells, fixed towards other
// materials and outside the volume, whether or not their unit cell holds any silicon.
TEST(SiLattice, BondsToPositionsWithoutSiliconAreOpenInEmptyCellsAndFixedElsewhere)
{
    // Silicon z < 4 under a layer of oxide over x < 3, empty above elsewhere.
    auto volume = volumeOf(8, 8, 8, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 4 ? kSilicon : (z == 4 && x < 3 ? kOxide : 0u);
    });
    ASSERT_TRUE(volume->createSiLattice());
    auto lattice = volume->siLattice();
    const auto &atoms = lattice->atoms();
    int open = 0, toOxide = 0, outside = 0;
    for (uint32_t a = 0; a < atoms.size(); ++a) {
        if (!atoms[a].isPresent())
            continue;
        const Util::Vector3D p = lattice->atomPosition(a);
        for (int b = 0; b < SiAtom::kBondCount; ++b) {
            const uint32_t bond = atoms[a].bonds[b];
            if (SiAtom::isAtomIndex(bond))
                continue;
            const Util::Vector3D end = p + SiLatticeGeometry::bondVectors(lattice->slotOf(a))[b];
            const bool inside = end.x >= 0 && end.y >= 0 && end.z >= 0 && end.x < 8 && end.y < 8 && end.z < 8;
            const uint32_t there = inside ? materialAt(*volume, uint32_t(end.x), uint32_t(end.y), uint32_t(end.z)) : 0;
            EXPECT_TRUE(!inside || there == 0 || there == kOxide);
            EXPECT_EQ(bond, inside && there == 0 ? SiAtom::kNoAtom : SiAtom::kFixedAtom);
            ++(!inside ? outside : there == kOxide ? toOxide : open);
        }
    }
    EXPECT_GT(open, 0);
    EXPECT_GT(toOxide, 0);
    EXPECT_GT(outside, 0);
}

TEST(SiLattice, SameLatticeForEveryThreadCount)
{
    auto reference = flatVolume(9, 6, 7, 5, kSilicon);
    {
        ScopedThreadCount threads(1);
        ASSERT_TRUE(reference->createSiLattice());
    }
    for (int t : kThreadCounts) {
        ScopedThreadCount threads(t);
        auto volume = flatVolume(9, 6, 7, 5, kSilicon);
        ASSERT_TRUE(volume->createSiLattice());
        const auto &a = reference->siLattice()->atoms();
        const auto &b = volume->siLattice()->atoms();
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i)
            ASSERT_TRUE(a[i].cellIndex == b[i].cellIndex && a[i].state == b[i].state &&
                        std::equal(std::begin(a[i].bonds), std::end(a[i].bonds), std::begin(b[i].bonds)))
                << "atom " << i << ", " << t << " threads";
        EXPECT_EQ(atomCountsOf(*reference), atomCountsOf(*volume)) << t << " threads";
    }
}

TEST(SiLattice, NeighbourCountsTreatFixedPositionsAsFullyBonded)
{
    // Atom 0 has one open bond and three neighbours that are bonded all round.
    std::vector<SiAtom> atoms(4);
    atoms[0].bonds[0] = SiAtom::kNoAtom;
    for (uint32_t i = 1; i < 4; ++i) {
        atoms[0].bonds[i] = i;
        atoms[i].bonds[0] = 0;
        for (int b = 1; b < 4; ++b)
            atoms[i].bonds[b] = SiAtom::kFixedAtom;
    }
    EXPECT_EQ(Model::bondedNeighbourCount(atoms[0], atoms.data()), 3);
    EXPECT_EQ(Model::secondNeighbourCount(atoms[0], atoms.data()), 9);
    EXPECT_EQ(Model::bondedNeighbourCount(atoms[1], atoms.data()), 4);
    // Removing one neighbour takes its bond and its further bonds away.
    atoms[3].state = SiAtom::Removed;
    EXPECT_EQ(Model::bondedNeighbourCount(atoms[0], atoms.data()), 2);
    EXPECT_EQ(Model::secondNeighbourCount(atoms[0], atoms.data()), 6);
    EXPECT_EQ(Model::bondedNeighbourCount(atoms[1], atoms.data()), 4);
    EXPECT_EQ(Model::bondedNeighbourCount(SiAtom(true), atoms.data()), 4);
}

TEST(SiLattice, RefusesALatticeBeyondTheMemoryBudgetBeforeAllocatingIt)
{
    auto volume = flatVolume(6, 6, 6, 6, kSilicon);
    SiLattice lattice(*volume);
    QString why;
    {
        const Model::Automaton::CellLock lock(*volume);
        EXPECT_FALSE(lattice.build(lock.cells(), 4096, &why));
    }
    EXPECT_TRUE(lattice.atoms().empty());
    EXPECT_TRUE(lattice.unitCells().empty());
    EXPECT_TRUE(why.contains("GiB")) << why.toStdString();
    EXPECT_EQ(atomCountsOf(*volume), std::vector<int32_t>(volume->cellCount(), 0));

    // Absurd counts say so without overflowing.
    why.clear();
    EXPECT_FALSE(SiLattice::fitsInMemory(uint64_t(1) << 62, uint64_t(1) << 62, uint64_t(24) << 30, &why));
    EXPECT_TRUE(why.startsWith("The silicon lattice of this volume would hold")) << why.toStdString();
    why.clear();
    EXPECT_FALSE(SiLattice::fitsInMemory(uint64_t(1) << 30, 1000, uint64_t(1) << 50, &why));
    EXPECT_TRUE(why.contains("at most")) << why.toStdString();
    EXPECT_TRUE(SiLattice::fitsInMemory(1000, 1000, uint64_t(24) << 30));
}

TEST(SiLattice, AnAtomIsASmallRecord)
{
    EXPECT_LE(sizeof(SiAtom), 28u);
    EXPECT_LE(SiLattice::bytesPerAtom(), 32u);
}
