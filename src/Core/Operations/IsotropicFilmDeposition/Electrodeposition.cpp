#include "Electrodeposition.h"

#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"

namespace Core {
namespace Operations {

Electrodeposition::Electrodeposition(Model::Automaton::TotalVolume &volume, uint32_t depositedMaterial,
                                     uint32_t conductingMaterial, float thickness)
    : AbstractDistanceCountingAutomatonNoFinalize(volume),
      depositedMaterial(depositedMaterial),
      conductingMaterial(conductingMaterial),
      thickness(thickness),
      thicknessSquared(thickness * thickness)
{
    targetMaterials = {0, depositedMaterial};
    buildNeighbourSteps();
}

unsigned Electrodeposition::stepCount(float thickness, float smallestCellLength)
{
    return IsotropicFilmDeposition::stepCount(thickness, smallestCellLength);
}

void Electrodeposition::initializeCell(unsigned index, unsigned chunk)
{
    Model::Automaton::Cell &cell = cells[index];
    if (cell.material() != 0) {
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
        fronts[chunk].push_back(index);
}

void Electrodeposition::updateCell(unsigned index, unsigned firstX, unsigned endX, unsigned chunk)
{
    const Model::Automaton::Cell &cell = cells[index];
    if (cell.isFixed())
        return;
    const uint32_t material = cell.material() != 0 ? cell.material() : depositedMaterial;
    changeIfCloser(index, thicknessSquared, material, firstX, endX, chunk);
}

} // namespace Operations
} // namespace Core
