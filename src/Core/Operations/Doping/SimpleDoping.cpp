#include "SimpleDoping.h"

#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/Doping/DopingTargets.h"
#include "Model/Materials/MaterialIds.h"

#include <algorithm>

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

SimpleDoping::SimpleDoping(Model::Automaton::TotalVolume &volume, IndexSet dopableIds, uint32_t dopedMaterial,
                           float depth)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, dopingTargets(dopableIds, dopedMaterial)),
      dopable(sortedMaterialIds(std::move(dopableIds))),
      dopedMaterial(dopedMaterial),
      depth(depth),
      depthSquared(depth * depth)
{
}

unsigned SimpleDoping::stepCount(float depth, float smallestCellLength)
{
    return stepsToCover(depth, smallestCellLength);
}

bool SimpleDoping::isDopable(uint32_t material) const
{
    return std::binary_search(dopable.begin(), dopable.end(), material);
}

void SimpleDoping::initializeCell(uint32_t index, unsigned slab)
{
    Model::Automaton::Cell &cell = cellAt(index);
    if (cell.material() == kEmptyMaterial) {
        // Every empty cell is a source of dopant.
        cell.setFixed(true);
        cell.setV(0.0f, 0.0f, 0.0f);
        return;
    }
    const bool dopableCell = isDopable(cell.material());
    cell.setFixed(!dopableCell);
    cell.setV(depth, depth, depth);
    if (dopableCell && anyNeighbourMaterial(index, [](uint32_t material) { return material == kEmptyMaterial; }))
        startOnFront(index, slab);
}

void SimpleDoping::updateCell(uint32_t index, unsigned slab)
{
    // Only cells dopable at the start are free; once doped they keep improving their distance
    // even when the doped material is not itself dopable.
    if (cellAt(index).isFixed())
        return;
    changeIfCloser(index, depthSquared, dopedMaterial, slab);
}

void dopeByDiffusion(Model::Automaton::TotalVolume &volume, uint32_t dopedMaterial, float depth)
{
    SimpleDoping automaton(volume, dopableMaterials(kSimpleDopingProcess), dopedMaterial, depth);
    automaton.run(SimpleDoping::stepCount(depth, AbstractDistanceCountingAutomatonBase::smallestCellLength(volume)));
}

} // namespace Operations
} // namespace Core
