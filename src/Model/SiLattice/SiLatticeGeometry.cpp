#include "SiLatticeGeometry.h"

#include <cmath>

namespace Model {

namespace {

constexpr double kTurnDegrees = 45.0;

// π/180 as acos(0)/90, the conversion the rest of the lattice code agrees on.
double radians(double degrees)
{
    return degrees * std::acos(0.0) / 90.0;
}

Util::Vector3D scaledAndRotated(const QuarterOffset &q)
{
    const double quarter = SiLatticeGeometry::kUnitCellEdge / SiLatticeGeometry::kQuartersPerEdge;
    return SiLatticeGeometry::rotate(q.x * quarter, q.y * quarter, q.z * quarter);
}

template <size_t N>
std::array<Util::Vector3D, N> scaledAndRotated(const std::array<QuarterOffset, N> &table)
{
    std::array<Util::Vector3D, N> out;
    for (size_t i = 0; i < N; ++i)
        out[i] = scaledAndRotated(table[i]);
    return out;
}

} // namespace

const std::array<QuarterOffset, SiLatticeGeometry::kAtomsPerCell> &SiLatticeGeometry::atomQuarters()
{
    static const std::array<QuarterOffset, kAtomsPerCell> table = {{
        {0, 0, 0}, {2, 2, 0}, {1, 1, 1}, {3, 3, 1}, {2, 0, 2}, {0, 2, 2}, {3, 1, 3}, {1, 3, 3},
    }};
    return table;
}

const std::array<QuarterOffset, SiLatticeGeometry::kBondsPerAtom> &SiLatticeGeometry::bondQuarters(uint32_t slot)
{
    // Atoms 0, 1, 4, 5 sit on the face-centred sites, atoms 2, 3, 6, 7 on the shifted ones;
    // each set bonds towards the other.
    static const std::array<QuarterOffset, kBondsPerAtom> faceCentred = {{{1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}, {1, 1, 1}}};
    static const std::array<QuarterOffset, kBondsPerAtom> shifted = {{{-1, -1, -1}, {1, 1, -1}, {1, -1, 1}, {-1, 1, 1}}};
    return (slot & 2u) ? shifted : faceCentred;
}

const std::array<QuarterOffset, SiLatticeGeometry::kAtomsPerCell> &SiLatticeGeometry::neighbourCells()
{
    static const std::array<QuarterOffset, kAtomsPerCell> table = {{
        {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1}, {1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1},
    }};
    return table;
}

int SiLatticeGeometry::slotAt(int qx, int qy, int qz)
{
    const auto &atoms = atomQuarters();
    for (uint32_t slot = 0; slot < kAtomsPerCell; ++slot)
        if (atoms[slot].x == qx && atoms[slot].y == qy && atoms[slot].z == qz)
            return int(slot);
    return kNoSlot;
}

const std::array<Util::Vector3D, SiLatticeGeometry::kAtomsPerCell> &SiLatticeGeometry::atomOffsets()
{
    static const auto table = scaledAndRotated(atomQuarters());
    return table;
}

const std::array<Util::Vector3D, SiLatticeGeometry::kBondsPerAtom> &SiLatticeGeometry::bondVectors(uint32_t slot)
{
    static const auto faceCentred = scaledAndRotated(bondQuarters(0));
    static const auto shifted = scaledAndRotated(bondQuarters(2));
    return (slot & 2u) ? shifted : faceCentred;
}

const std::array<Util::Vector3D, SiLatticeGeometry::kAtomsPerCell> &SiLatticeGeometry::neighbourCellOffsets()
{
    static const auto table = [] {
        std::array<Util::Vector3D, kAtomsPerCell> out;
        const auto &cells = neighbourCells();
        for (size_t i = 0; i < cells.size(); ++i)
            out[i] = rotate(cells[i].x * kUnitCellEdge, cells[i].y * kUnitCellEdge, cells[i].z * kUnitCellEdge);
        return out;
    }();
    return table;
}

Util::Vector3D SiLatticeGeometry::rotate(double x, double y, double z)
{
    static const double c = std::cos(radians(kTurnDegrees));
    static const double s = std::sin(radians(kTurnDegrees));
    return Util::Vector3D(c * x - s * y, s * x + c * y, z);
}

} // namespace Model
