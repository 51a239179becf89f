#include "AnisotropicFilmDeposition.h"

#include "HorizontalWeighting.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

AnisotropicFilmDeposition::AnisotropicFilmDeposition(Model::Automaton::TotalVolume &volume, uint32_t material,
                                                     float thickness, float ratio)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, {kEmptyMaterial, material},
                                                  horizontallyWeightedLengths(volume, ratio, thickness)),
      depositedMaterial(material),
      thickness(thickness),
      thicknessSquared(thickness * thickness),
      steps(weightedStepCount(thickness, horizontallyWeightedLengths(volume, ratio, thickness)))
{
}

void AnisotropicFilmDeposition::initializeCell(uint32_t index, unsigned slab)
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

void AnisotropicFilmDeposition::updateCell(uint32_t index, unsigned slab)
{
    if (cellAt(index).isFixed())
        return;
    changeIfCloser(index, thicknessSquared, depositedMaterial, slab);
}

void depositAnisotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness, float ratio)
{
    AnisotropicFilmDeposition automaton(volume, material, thickness, ratio);
    automaton.run(automaton.stepCount());
}

} // namespace Operations
} // namespace Core
