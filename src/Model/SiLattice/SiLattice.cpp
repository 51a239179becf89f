#include "SiLattice.h"

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"
#include "Model/SiLattice/SiLatticeGeometry.h"
#include "Util/SlabRunner.h"

#include <QLocale>
#include <algorithm>
#include <climits>
#include <cmath>
#include <unistd.h>

namespace Model {

namespace {

using Geometry = SiLatticeGeometry;

constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kBytesPerGiB = 1024.0 * 1024.0 * 1024.0;

int64_t floorDiv(int64_t value, int64_t divisor)
{
    const int64_t q = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

QString gib(uint64_t bytes)
{
    return QLocale::c().toString(double(bytes) / kBytesPerGiB, 'f', 2);
}

} // namespace

SiLattice::SiLattice(Automaton::TotalVolume &volume) : owner(&volume)
{
    sizes[0] = volume.sizeX();
    sizes[1] = volume.sizeY();
    sizes[2] = volume.sizeZ();
    cellLengths[0] = volume.cellSizeX();
    cellLengths[1] = volume.cellSizeY();
    cellLengths[2] = volume.cellSizeZ();
    for (int axis = 0; axis < 3; ++axis)
        extents[axis] = sizes[axis] * cellLengths[axis];
    // The unit cells are turned 45 degrees, so covering the volume's footprint takes a square of
    // side (x extent + y extent) / √2 in unit cells, counted in single precision.
    const float inPlane = float(extents[0] + extents[1]) / float(kSqrt2 * Geometry::kUnitCellEdge);
    inPlaneCount = uint32_t(std::ceil(inPlane));
    zCount = uint32_t(std::ceil(float(extents[2]) / float(Geometry::kUnitCellEdge)));
}

uint64_t SiLattice::positionIndex(int64_t i, int64_t j, int64_t k) const
{
    return (uint64_t(i) * inPlaneCount + uint64_t(j)) * zCount + uint64_t(k);
}

uint32_t SiLattice::findUnitCell(int32_t i, int32_t j, int32_t k) const
{
    if (i < 0 || j < 0 || k < 0 || uint32_t(i) >= inPlaneCount || uint32_t(j) >= inPlaneCount ||
        uint32_t(k) >= zCount || unitCellMap.empty())
        return kNoUnitCell;
    return unitCellMap[positionIndex(i, j, k)];
}

Util::Vector3D SiLattice::localPosition(int64_t i, int64_t j, int64_t k, uint32_t slot) const
{
    const QuarterOffset q = Geometry::atomQuarters()[slot];
    const double a = Geometry::kUnitCellEdge;
    const double quarters = Geometry::kQuartersPerEdge;
    const Util::Vector3D turned =
        Geometry::rotate(a * (double(i) + q.x / quarters), a * (double(j) + q.y / quarters), 0.0);
    // Unit cell (0, 0, 0) sits at the middle of the volume's front edge, turned so that the
    // lattice's square spreads over the whole footprint.
    return Util::Vector3D(turned.x + extents[0] / 2.0, turned.y - extents[0] / 2.0, a * (double(k) + q.z / quarters));
}

int64_t SiLattice::cellAt(const Util::Vector3D &p) const
{
    int64_t c[3];
    for (int axis = 0; axis < 3; ++axis) {
        const double v = p[axis];
        if (!(v >= 0.0 && v < extents[axis]))
            return -1;
        c[axis] = std::min<int64_t>(int64_t(v / cellLengths[axis]), int64_t(sizes[axis]) - 1);
    }
    return (c[0] * int64_t(sizes[1]) + c[1]) * int64_t(sizes[2]) + c[2];
}

Util::Vector3D SiLattice::unitCellOrigin(const SiCell &cell) const
{
    return Util::Vector3D(localPosition(cell.i, cell.j, cell.k, 0) + owner->origin());
}

Util::Vector3D SiLattice::atomPosition(uint32_t atom) const
{
    const SiCell &cell = cellArray[unitCellOf(atom)];
    return Util::Vector3D(localPosition(cell.i, cell.j, cell.k, slotOf(atom)) + owner->origin());
}

uint64_t SiLattice::bytesFor(uint64_t storedUnitCells, uint64_t positions)
{
    const uint64_t perUnitCell = SiCell::kAtomsPerCell * sizeof(SiAtom) + sizeof(SiCell);
    // The map holds one index per position; the build keeps one byte per position besides.
    const uint64_t perPosition = sizeof(uint32_t) + sizeof(uint8_t);
    return storedUnitCells * perUnitCell + positions * perPosition;
}

bool SiLattice::fitsInMemory(uint64_t storedUnitCells, uint64_t positions, uint64_t memoryBudget, QString *why)
{
    // Guard the products against absurd counts before multiplying.
    const uint64_t limit = uint64_t(1) << 56;
    const bool countable = storedUnitCells < limit && positions < limit;
    const uint64_t bytes = countable ? bytesFor(storedUnitCells, positions) : UINT64_MAX;
    const bool indexable = storedUnitCells * SiCell::kAtomsPerCell < uint64_t(SiAtom::kFixedAtom);
    if (countable && indexable && (memoryBudget == 0 || bytes <= memoryBudget))
        return true;
    if (why) {
        const QLocale c = QLocale::c();
        const double atoms = double(storedUnitCells) * SiCell::kAtomsPerCell;
        QString limitText = !indexable ? QStringLiteral("A silicon lattice can hold at most %1 atoms.")
                                             .arg(c.toString(double(SiAtom::kFixedAtom), 'f', 0))
                                       : QStringLiteral("This computer has %1 GiB of memory.").arg(gib(memoryBudget));
        *why = QStringLiteral("The silicon lattice of this volume would hold %1 atoms and need %2 GiB of memory. %3")
                   .arg(c.toString(atoms, 'f', 0))
                   .arg(countable ? gib(bytes) : QStringLiteral("more than %1").arg(gib(UINT64_MAX)))
                   .arg(limitText);
    }
    return false;
}

uint64_t SiLattice::estimatedAtoms(uint64_t siliconCells, double cellVolume)
{
    const double a = Geometry::kUnitCellEdge;
    return uint64_t(std::ceil(double(siliconCells) * cellVolume * Geometry::kAtomsPerCell / (a * a * a)));
}

uint64_t SiLattice::physicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return uint64_t(pages) * uint64_t(pageSize);
}

bool SiLattice::build(Automaton::Cell *cells, uint64_t memoryBudget, QString *why)
{
    using Materials::kEmptyMaterial;
    using Materials::kSiliconMaterial;

    const uint64_t positions = uint64_t(inPlaneCount) * inPlaneCount * zCount;
    // The position map and the scratch come first; refuse before even those when they cannot fit.
    if (!fitsInMemory(0, positions, memoryBudget, why))
        return false;

    const uint64_t volumeCells = uint64_t(sizes[0]) * sizes[1] * sizes[2];
    if (volumeCells > uint64_t(INT32_MAX)) {
        if (why)
            *why = QStringLiteral("A silicon lattice can be built over at most %1 cells; this volume has %2.")
                       .arg(INT32_MAX)
                       .arg(volumeCells);
        return false;
    }
    auto isSilicon = [&](int64_t cell) { return cell >= 0 && cells[cell].material() == kSiliconMaterial; };

    // Pass 1: which slots of each unit-cell position lie in silicon (one bit per slot).
    std::vector<uint8_t> siliconSlots(positions, 0);
    const uint32_t threads = Util::slabThreadCount();
    Util::runSlabs(Util::splitLastSlabTakesRest(0, inPlaneCount, threads), [&](size_t, Util::Slab slab) {
        for (int64_t i = slab.begin; i < int64_t(slab.end); ++i)
            for (int64_t j = 0; j < int64_t(inPlaneCount); ++j)
                for (int64_t k = 0; k < int64_t(zCount); ++k) {
                    uint8_t bits = 0;
                    for (uint32_t slot = 0; slot < Geometry::kAtomsPerCell; ++slot)
                        if (isSilicon(cellAt(localPosition(i, j, k, slot))))
                            bits |= uint8_t(1u << slot);
                    siliconSlots[positionIndex(i, j, k)] = bits;
                }
    });

    uint64_t stored = 0;
    for (uint8_t bits : siliconSlots)
        stored += bits != 0;
    if (!fitsInMemory(stored, positions, memoryBudget, why))
        return false;

    // The unit cells are stored in position order: i outermost, then j, then k.
    unitCellMap.assign(positions, kNoUnitCell);
    cellArray.clear();
    cellArray.reserve(stored);
    for (int64_t i = 0; i < int64_t(inPlaneCount); ++i)
        for (int64_t j = 0; j < int64_t(inPlaneCount); ++j)
            for (int64_t k = 0; k < int64_t(zCount); ++k) {
                const uint64_t p = positionIndex(i, j, k);
                if (siliconSlots[p] == 0)
                    continue;
                unitCellMap[p] = uint32_t(cellArray.size());
                cellArray.push_back(SiCell{int32_t(i), int32_t(j), int32_t(k),
                                           uint32_t(cellArray.size() * SiCell::kAtomsPerCell)});
            }
    atomArray.assign(cellArray.size() * SiCell::kAtomsPerCell, SiAtom());

    // Where bond b of an atom ends: an atom of a stored unit cell, or a sentinel decided by what
    // the volume holds at that position.
    auto bondEnd = [&](const SiCell &cell, uint32_t slot, int b) -> uint32_t {
        const QuarterOffset q = Geometry::atomQuarters()[slot];
        const QuarterOffset d = Geometry::bondQuarters(slot)[b];
        const int64_t n = Geometry::kQuartersPerEdge;
        const int64_t qx = int64_t(cell.i) * n + q.x + d.x;
        const int64_t qy = int64_t(cell.j) * n + q.y + d.y;
        const int64_t qz = int64_t(cell.k) * n + q.z + d.z;
        const int64_t ui = floorDiv(qx, n), uj = floorDiv(qy, n), uk = floorDiv(qz, n);
        const int otherSlot = Geometry::slotAt(int(qx - ui * n), int(qy - uj * n), int(qz - uk * n));
        const bool inGrid = ui >= 0 && uj >= 0 && uk >= 0 && ui < inPlaneCount && uj < inPlaneCount && uk < zCount;
        if (inGrid && (siliconSlots[positionIndex(ui, uj, uk)] >> otherSlot) & 1u)
            return unitCellMap[positionIndex(ui, uj, uk)] * SiCell::kAtomsPerCell + uint32_t(otherSlot);
        const int64_t end = cellAt(localPosition(ui, uj, uk, uint32_t(otherSlot)));
        if (end >= 0 && cells[end].material() == kEmptyMaterial)
            return SiAtom::kNoAtom;
        return SiAtom::kFixedAtom;
    };

    // Pass 2: the atoms, their cells and their bonds, one task per range of unit cells.
    Util::runSlabs(Util::splitLastSlabTakesRest(0, uint32_t(cellArray.size()), threads), [&](size_t, Util::Slab slab) {
        for (uint32_t c = slab.begin; c < slab.end; ++c) {
            const SiCell &cell = cellArray[c];
            const uint8_t bits = siliconSlots[positionIndex(cell.i, cell.j, cell.k)];
            for (uint32_t slot = 0; slot < Geometry::kAtomsPerCell; ++slot) {
                SiAtom &atom = atomArray[cell.firstAtom + slot];
                if (!((bits >> slot) & 1u)) {
                    atom.state = SiAtom::Removed;
                    continue;
                }
                atom.cellIndex = int32_t(cellAt(localPosition(cell.i, cell.j, cell.k, slot)));
                for (int b = 0; b < SiAtom::kBondCount; ++b)
                    atom.bonds[b] = bondEnd(cell, slot, b);
            }
        }
    });

    for (uint64_t c = 0; c < volumeCells; ++c)
        cells[c].setAtomCount(0);
    present = 0;
    for (const SiAtom &atom : atomArray)
        if (atom.cellIndex >= 0) {
            cells[atom.cellIndex].setAtomCount(cells[atom.cellIndex].atomCount() + 1);
            ++present;
        }
    return true;
}

} // namespace Model
