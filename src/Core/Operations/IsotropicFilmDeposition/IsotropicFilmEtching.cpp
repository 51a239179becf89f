#include "IsotropicFilmEtching.h"

#include <cmath>

namespace Core {
namespace Operations {

IsotropicFilmEtching::IsotropicFilmEtching(Model::Automaton::TotalVolume &volume, uint32_t material, float depth)
    : AbstractDistanceCountingAutomatonNoFinalize(volume),
      etchedMaterial(material),
      depth(depth),
      depthSquared(depth * depth)
{
    targetMaterials = {0, etchedMaterial};
    buildNeighbourSteps();
}

unsigned IsotropicFilmEtching::stepCount(float depth, float smallestCellLength)
{
    const double steps = std::ceil(double(depth) * kStepsPerCell / double(smallestCellLength));
    return steps > 0.0 ? unsigned(steps) : 0u;
}

void IsotropicFilmEtching::initializeCell(unsigned index, unsigned chunk)
{
    Model::Automaton::Cell &cell = cells[index];
    if (cell.material() == 0) {
        cell.setFixed(true);
        cell.setV(0.0f, 0.0f, 0.0f);
        return;
    }
    cell.setFixed(cell.material() != etchedMaterial);
    cell.setV(depth, depth, depth);
    if (anyNeighbourMaterial(index, [](uint32_t material) { return material == 0; }))
        fronts[chunk].push_back(index);
}

void IsotropicFilmEtching::updateCell(unsigned index, unsigned firstX, unsigned endX, unsigned chunk)
{
    const Model::Automaton::Cell &cell = cells[index];
    if (cell.isFixed() || (cell.material() != etchedMaterial && cell.material() != 0))
        return;
    changeIfCloser(index, depthSquared, 0, firstX, endX, chunk);
}

} // namespace Operations
} // namespace Core
