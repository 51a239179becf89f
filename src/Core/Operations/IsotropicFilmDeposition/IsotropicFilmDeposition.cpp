#include "IsotropicFilmDeposition.h"

#include <cmath>

namespace Core {
namespace Operations {

IsotropicFilmDeposition::IsotropicFilmDeposition(Model::Automaton::TotalVolume &volume, uint32_t material,
                                                 float thickness)
    : AbstractDistanceCountingAutomatonNoFinalize(volume),
      depositedMaterial(material),
      thickness(thickness),
      thicknessSquared(thickness * thickness)
{
    targetMaterials = {0, depositedMaterial};
    buildNeighbourSteps();
}

unsigned IsotropicFilmDeposition::stepCount(float thickness, float smallestCellLength)
{
    const double steps = double(std::ceil(thickness / smallestCellLength)) * kStepsPerCell;
    return steps > 0.0 ? unsigned(steps) : 0u;
}

void IsotropicFilmDeposition::initializeCell(unsigned index, unsigned chunk)
{
    Model::Automaton::Cell &cell = cells[index];
    if (cell.material() != 0) {
        cell.setFixed(true);
        cell.setV(0.0f, 0.0f, 0.0f);
        return;
    }
    cell.setFixed(false);
    cell.setV(thickness, thickness, thickness);
    if (anyNeighbourMaterial(index, [](uint32_t material) { return material != 0; }))
        fronts[chunk].push_back(index);
}

void IsotropicFilmDeposition::updateCell(unsigned index, unsigned firstX, unsigned endX, unsigned chunk)
{
    const Model::Automaton::Cell &cell = cells[index];
    if (cell.isFixed())
        return;
    const uint32_t material = cell.material() != 0 ? cell.material() : depositedMaterial;
    changeIfCloser(index, thicknessSquared, material, firstX, endX, chunk);
}

} // namespace Operations
} // namespace Core
