#pragma once

// Isotropic deposition by Euclidean distance from the surface (Danielsson's vector distance transform).
//
// Every empty cell within Euclidean distance R of a solid cell receives the deposited material;
// solids of any material, the deposited one included, are the sources.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class IsotropicFilmDeposition : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    IsotropicFilmDeposition(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // Enough steps to fill every cell within the thickness: see stepsToCover.
    static unsigned stepCount(float thickness, float smallestCellLength);

private:
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;

    uint32_t depositedMaterial;
    float thickness;
    float thicknessSquared;
};

// The deposition step: a film of `material`, `thickness` length units thick, on every solid
// surface of the volume.
void depositIsotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness);

} // namespace Operations
} // namespace Core
