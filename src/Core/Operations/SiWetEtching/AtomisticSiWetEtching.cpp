#include "AtomisticSiWetEtching.h"

#include "Core/Operations/SiWetEtching/SiEtcher.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/SiLattice/SiLattice.h"
#include "Model/SiLattice/SiLatticeGeometry.h"
#include "Model/SiLattice/SiNeighbourCounts.h"

#include <algorithm>
#include <cmath>

namespace Core {
namespace Operations {

namespace {

// The spacing of (100) atomic layers, a/4, with a in single precision.
const double kLayerSpacing = double(float(Model::SiLatticeGeometry::kUnitCellEdge)) * 0.25;

} // namespace

bool AtomisticRemovalRule::removes(Model::SiAtom &atom, const Model::SiAtom *atoms) const
{
    const int n = Model::bondedNeighbourCount(atom, atoms);
    if (n < kAlwaysRemovedBelow)
        return true;
    if (n == kAlwaysRemovedBelow)
        return Model::secondNeighbourCount(atom, atoms) < kStableSecondNeighbours;
    return false;
}

uint32_t atomisticEtchSteps(double depth)
{
    const double steps = std::floor(depth / kLayerSpacing + 0.5);
    return steps > 0.0 ? uint32_t(std::min(steps, double(UINT32_MAX))) : 0u;
}

bool etchSiAtomistic(Model::Automaton::TotalVolume &volume, double depth, QString *why)
{
    if (!volume.siLattice() && !volume.createSiLattice(why))
        return false;
    SiEtcher<AtomisticRemovalRule> etcher(volume);
    etcher.run(atomisticEtchSteps(depth));
    return true;
}

} // namespace Operations
} // namespace Core
