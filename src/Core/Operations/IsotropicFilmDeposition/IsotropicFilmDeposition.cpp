#include "IsotropicFilmDeposition.h"

#include "Model/Materials/MaterialIds.h"

#include <cmath>

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

IsotropicFilmDeposition::IsotropicFilmDeposition(Model::Automaton::TotalVolume &volume, uint32_t material,
                                                 float thickness)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, {kEmptyMaterial, material}),
      depositedMaterial(material),
      thickness(thickness),
      thicknessSquared(thickness * thickness)
{
}

unsigned IsotropicFilmDeposition::stepCount(float thickness, float smallestCellLength)
{
    return stepsToCover(thickness, smallestCellLength);
}

void IsotropicFilmDeposition::initializeCell(uint32_t index, unsigned slab)
{
    Model::Automaton::Cell &cell = cellAt(index);
    if (cell.material() != kEmptyMaterial) {
        cell.setFixed(true);
        cell.setV(0.0f, 0.0f, 0.0f);
        return;
    }
    cell.setFixed(false);
    cell.setV(thickness, thickness, thickness);
    if (anyNeighbourMaterial(index, [](uint32_t material) { return material != kEmptyMaterial; }))
        startOnFront(index, slab);
}

void IsotropicFilmDeposition::updateCell(uint32_t index, unsigned slab)
{
    const Model::Automaton::Cell &cell = cellAt(index);
    if (cell.isFixed())
        return;
    const uint32_t material = cell.material() != kEmptyMaterial ? cell.material() : depositedMaterial;
    changeIfCloser(index, thicknessSquared, material, slab);
}

void depositIsotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness)
{
    IsotropicFilmDeposition automaton(volume, material, thickness);
    automaton.run(IsotropicFilmDeposition::stepCount(
        thickness, AbstractDistanceCountingAutomatonBase::smallestCellLength(volume)));
}

} // namespace Operations
} // namespace Core
