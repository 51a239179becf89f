#include "AnisotropicFilmEtching.h"

#include "HorizontalWeighting.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

AnisotropicFilmEtching::AnisotropicFilmEtching(Model::Automaton::TotalVolume &volume, uint32_t material, float depth,
                                               float ratio)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, {kEmptyMaterial, material},
                                                  horizontallyWeightedLengths(volume, ratio, depth)),
      etchedMaterial(material),
      depth(depth),
      depthSquared(depth * depth),
      steps(weightedStepCount(depth, horizontallyWeightedLengths(volume, ratio, depth)))
{
}

void AnisotropicFilmEtching::initializeCell(uint32_t index, unsigned slab)
{
    Model::Automaton::Cell &cell = cellAt(index);
    if (cell.material() == kEmptyMaterial) {
        cell.setFixed(true);
        cell.setV(0.0f, 0.0f, 0.0f);
        return;
    }
    cell.setFixed(cell.material() != etchedMaterial);
    cell.setV(depth, depth, depth);
    if (!cell.isFixed() && anyNeighbourMaterial(index, [](uint32_t material) { return material == kEmptyMaterial; }))
        startOnFront(index, slab);
}

void AnisotropicFilmEtching::updateCell(uint32_t index, unsigned slab)
{
    if (cellAt(index).isFixed())
        return;
    changeIfCloser(index, depthSquared, kEmptyMaterial, slab);
}

void etchAnisotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float depth, float ratio)
{
    AnisotropicFilmEtching automaton(volume, material, depth, ratio);
    automaton.run(automaton.stepCount());
}

} // namespace Operations
} // namespace Core
