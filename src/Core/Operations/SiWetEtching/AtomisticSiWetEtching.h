#pragma once

// Anisotropic wet etching of crystalline silicon by bond counting (KOH-like): a surface atom goes
// when it has at most two bonded neighbours, or three whose own further bonds number fewer than
// nine. (100) surface atoms have two bonds and etch layer by layer; a (111) surface atom has three
// bonded neighbours with nine further bonds and stays, so a pit under a mask opening stops on
// {111} planes at 54.7 degrees to the wafer surface.

#include "Model/SiLattice/SiAtom.h"

#include <QString>
#include <cstdint>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

// The removal rule of atomistic wet etching (a rule for SiEtcher).
struct AtomisticRemovalRule {
    static constexpr int kAlwaysRemovedBelow = 3;  // n ≤ 2 goes
    static constexpr int kStableSecondNeighbours = 9; // n = 3 stays when m ≥ 9

    void prepare(Model::SiAtom &) const {}
    bool removes(Model::SiAtom &atom, const Model::SiAtom *atoms) const;
};

// One step per (100) layer, a quarter of the unit-cell edge (1.4 in single precision):
// ⌊depth / 0.35 + 0.5⌋; below 0.175 no step at all.
uint32_t atomisticEtchSteps(double depth);

// The atomistic wet etching step: etches the volume's silicon to `depth` length units down the
// (100) direction from wherever it faces empty space. Builds the lattice first when the volume has
// none; false (and `why`) when that lattice would not fit in memory, with nothing changed.
bool etchSiAtomistic(Model::Automaton::TotalVolume &volume, double depth, QString *why = nullptr);

} // namespace Operations
} // namespace Core
