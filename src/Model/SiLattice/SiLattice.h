#pragma once

// The atomistic model of a cell volume's crystalline silicon: a diamond-cubic lattice laid over
// the volume (geometry in SiLatticeGeometry.h), one atom for every lattice position that lies in
// a silicon cell. Wet etching removes its atoms; the atomistic view draws them.
//
// Atoms are stored eight per unit cell in one contiguous array, only for unit cells that hold at
// least one silicon atom; a slot of such a cell whose position holds no silicon is stored as a
// removed atom with cell index −1 and nothing bonds to it. Bonds to positions without silicon
// are resolved once, when the lattice is built, into SiAtom's two sentinels: a position in an
// empty cell holds no atom, a position in a cell of another material (a mask, a metal) or outside
// the volume holds a fixed, fully bonded atom. So silicon etches only where it faces empty space.

#include "Model/SiLattice/SiAtom.h"
#include "Model/SiLattice/SiCell.h"
#include "Util/Vector3D.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace Model {

namespace Automaton {
class Cell;
class TotalVolume;
} // namespace Automaton

class SiLattice {
public:
    static constexpr uint32_t kNoUnitCell = 0xFFFFFFFFu;

    // Sizes taken from the volume; the lattice is empty until built.
    explicit SiLattice(Automaton::TotalVolume &volume);

    // Builds the lattice over the silicon cells of `cells` (the volume's cells, locked by the
    // caller) and sets every cell's atomCount to the number of atoms inside it. When the lattice
    // would need more than `memoryBudget` bytes it returns false before allocating it, leaves the
    // cells alone and, when `why` is given, says what was asked and what is available.
    bool build(Automaton::Cell *cells, uint64_t memoryBudget, QString *why = nullptr);

    Automaton::TotalVolume &volume() const { return *owner; }

    const std::vector<SiAtom> &atoms() const { return atomArray; }
    SiAtom *atomData() { return atomArray.data(); }
    const std::vector<SiCell> &unitCells() const { return cellArray; }

    // Number of unit-cell positions along each in-plane axis and along z.
    uint32_t unitCellsInPlane() const { return inPlaneCount; }
    uint32_t unitCellsAlongZ() const { return zCount; }
    // The stored unit cell at a unit-cell position, or kNoUnitCell.
    uint32_t findUnitCell(int32_t i, int32_t j, int32_t k) const;
    static uint32_t unitCellOf(uint32_t atom) { return atom / SiCell::kAtomsPerCell; }
    static uint32_t slotOf(uint32_t atom) { return atom % SiCell::kAtomsPerCell; }

    // Positions in the scene's coordinates (the volume's origin included).
    Util::Vector3D unitCellOrigin(const SiCell &cell) const;
    Util::Vector3D atomPosition(uint32_t atom) const;

    // Atoms that are present (neither removed nor fixed).
    uint64_t presentAtomCount() const { return present; }
    // Etches report the atoms they removed so that presentAtomCount stays true.
    void noteRemoved(uint64_t count) { present = count > present ? 0 : present - count; }

    // What one stored atom costs: its record and its share of its unit cell.
    static constexpr uint64_t bytesPerAtom() { return sizeof(SiAtom) + sizeof(SiCell) / SiCell::kAtomsPerCell; }
    // Memory a lattice needs with `storedUnitCells` stored of `positions` unit-cell positions,
    // the position map and the build's scratch included.
    static uint64_t bytesFor(uint64_t storedUnitCells, uint64_t positions);
    // Whether that fits in `memoryBudget`; otherwise `why` gets a sentence with the numbers.
    static bool fitsInMemory(uint64_t storedUnitCells, uint64_t positions, uint64_t memoryBudget,
                             QString *why = nullptr);
    // Atoms a lattice holds over `siliconCells` cells of `cellVolume` (cubic length units each):
    // eight atoms per a³.
    static uint64_t estimatedAtoms(uint64_t siliconCells, double cellVolume);
    // Physical memory of this computer in bytes (0 when it cannot be told): the default budget.
    static uint64_t physicalMemoryBytes();

private:
    // Position in the volume's own frame (its origin at 0) of slot `slot` of unit cell (i, j, k).
    Util::Vector3D localPosition(int64_t i, int64_t j, int64_t k, uint32_t slot) const;
    // The cell containing a local position, or −1 outside the volume.
    int64_t cellAt(const Util::Vector3D &p) const;
    uint64_t positionIndex(int64_t i, int64_t j, int64_t k) const;

    Automaton::TotalVolume *owner;
    uint32_t sizes[3];
    double cellLengths[3];
    double extents[3];
    uint32_t inPlaneCount = 0;
    uint32_t zCount = 0;
    std::vector<SiAtom> atomArray;
    std::vector<SiCell> cellArray;
    std::vector<uint32_t> unitCellMap; // position index → stored unit cell or kNoUnitCell
    uint64_t present = 0;
};

} // namespace Model
