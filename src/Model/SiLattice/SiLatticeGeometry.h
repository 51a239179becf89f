#pragma once

// The geometry of the diamond-cubic silicon lattice as it lies in a cell volume: a cubic unit
// cell of edge a = 1.4 length units holding eight atoms, turned 45 degrees about the vertical
// axis so that the <110> directions of the (100) wafer surface run along the volume's x and y.
//
// Positions inside a unit cell are exact in quarter units (a/4): an atom's offset and its bond
// vectors are small integer triples there, which is how atoms find their bonded partners in
// neighbouring unit cells without any floating-point comparison.

#include "Util/Vector3D.h"

#include <array>
#include <cstdint>

namespace Model {

struct QuarterOffset {
    int x;
    int y;
    int z;
};

class SiLatticeGeometry {
public:
    static constexpr double kUnitCellEdge = 1.4;   // length units
    static constexpr int kQuartersPerEdge = 4;
    static constexpr uint32_t kAtomsPerCell = 8;
    static constexpr int kBondsPerAtom = 4;
    static constexpr int kNoSlot = -1;

    // Atom offsets in the unit cell, in quarter units, atoms 0–7.
    static const std::array<QuarterOffset, kAtomsPerCell> &atomQuarters();
    // Bond vectors in quarter units of the bond set used by `slot` (chosen by bit 1 of the slot).
    static const std::array<QuarterOffset, kBondsPerAtom> &bondQuarters(uint32_t slot);
    // Offsets of the eight unit cells that share the corner (0, 0, 0), in unit cells.
    static const std::array<QuarterOffset, kAtomsPerCell> &neighbourCells();
    // The atom slot at a position given in quarter units modulo 4, or kNoSlot if no atom sits there.
    static int slotAt(int qx, int qy, int qz);

    // The tables above rotated 45 degrees about z and scaled to length units.
    static const std::array<Util::Vector3D, kAtomsPerCell> &atomOffsets();
    static const std::array<Util::Vector3D, kBondsPerAtom> &bondVectors(uint32_t slot);
    static const std::array<Util::Vector3D, kAtomsPerCell> &neighbourCellOffsets();

    // Turns a lattice-frame vector (length units) 45 degrees about z into the volume's frame.
    static Util::Vector3D rotate(double x, double y, double z);
};

} // namespace Model
