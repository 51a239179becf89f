#include "IsotropicFilmEtching.h"

#include "Model/Materials/MaterialIds.h"

#include <cmath>

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

IsotropicFilmEtching::IsotropicFilmEtching(Model::Automaton::TotalVolume &volume, uint32_t material, float depth)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, {kEmptyMaterial, material}),
      etchedMaterial(material),
      depth(depth),
      depthSquared(depth * depth)
{
}

unsigned IsotropicFilmEtching::stepCount(float depth, float smallestCellLength)
{
    return stepsToCover(depth, smallestCellLength);
}

void IsotropicFilmEtching::initializeCell(uint32_t index, unsigned slab)
{
    Model::Automaton::Cell &cell = cellAt(index);
    if (cell.material() == kEmptyMaterial) {
        cell.setFixed(true);
        cell.setV(0.0f, 0.0f, 0.0f);
        return;
    }
    cell.setFixed(cell.material() != etchedMaterial);
    cell.setV(depth, depth, depth);
    if (anyNeighbourMaterial(index, [](uint32_t material) { return material == kEmptyMaterial; }))
        startOnFront(index, slab);
}

void IsotropicFilmEtching::updateCell(uint32_t index, unsigned slab)
{
    const Model::Automaton::Cell &cell = cellAt(index);
    if (cell.isFixed() || (cell.material() != etchedMaterial && cell.material() != kEmptyMaterial))
        return;
    changeIfCloser(index, depthSquared, kEmptyMaterial, slab);
}

void etchIsotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float depth)
{
    IsotropicFilmEtching automaton(volume, material, depth);
    automaton.run(
        IsotropicFilmEtching::stepCount(depth, AbstractDistanceCountingAutomatonBase::smallestCellLength(volume)));
}

} // namespace Operations
} // namespace Core
