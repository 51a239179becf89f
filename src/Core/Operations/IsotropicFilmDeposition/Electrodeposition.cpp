#include "Electrodeposition.h"

#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

Electrodeposition::Electrodeposition(Model::Automaton::TotalVolume &volume, uint32_t depositedMaterial,
                                     uint32_t conductingMaterial, float thickness)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, {kEmptyMaterial, depositedMaterial}),
      depositedMaterial(depositedMaterial),
      conductingMaterial(conductingMaterial),
      thickness(thickness),
      thicknessSquared(thickness * thickness)
{
}

unsigned Electrodeposition::stepCount(float thickness, float smallestCellLength)
{
    return IsotropicFilmDeposition::stepCount(thickness, smallestCellLength);
}

void Electrodeposition::initializeCell(uint32_t index, unsigned slab)
{
    Model::Automaton::Cell &cell = cellAt(index);
    if (cell.material() != kEmptyMaterial) {
        cell.setFixed(true);
        if (cell.material() == conductingMaterial)
            cell.setV(0.0f, 0.0f, 0.0f);
        else
            cell.setV(thickness, thickness, thickness);
        return;
    }
    cell.setFixed(false);
    cell.setV(thickness, thickness, thickness);
    const uint32_t conductor = conductingMaterial;
    if (anyNeighbourMaterial(index, [conductor](uint32_t material) { return material == conductor; }))
        startOnFront(index, slab);
}

void Electrodeposition::updateCell(uint32_t index, unsigned slab)
{
    const Model::Automaton::Cell &cell = cellAt(index);
    if (cell.isFixed())
        return;
    const uint32_t material = cell.material() != kEmptyMaterial ? cell.material() : depositedMaterial;
    changeIfCloser(index, thicknessSquared, material, slab);
}

void electroplate(Model::Automaton::TotalVolume &volume, uint32_t depositedMaterial, uint32_t conductingMaterial,
                  float thickness)
{
    Electrodeposition automaton(volume, depositedMaterial, conductingMaterial, thickness);
    automaton.run(
        Electrodeposition::stepCount(thickness, AbstractDistanceCountingAutomatonBase::smallestCellLength(volume)));
}

} // namespace Operations
} // namespace Core
