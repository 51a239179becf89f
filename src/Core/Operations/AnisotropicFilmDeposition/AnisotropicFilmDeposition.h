#pragma once

// Anisotropic deposition by weighted Euclidean distance from the surface (Danielsson's vector
// distance transform with lateral steps counting 1/q times their length).
//
// Every empty cell within weighted distance R of a solid cell receives the deposited material:
// the film is R thick on surfaces facing up or down and about q·R on side walls.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class AnisotropicFilmDeposition : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    // `ratio`: horizontal to vertical ratio q; 0 or less grows vertically only.
    AnisotropicFilmDeposition(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness, float ratio);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // Enough steps to fill every cell within the weighted thickness.
    unsigned stepCount() const { return steps; }

private:
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;

    uint32_t depositedMaterial;
    float thickness;
    float thicknessSquared;
    unsigned steps;
};

// The anisotropic deposition step: a film of `material`, `thickness` length units thick on
// horizontal surfaces and `ratio` times that on vertical ones.
void depositAnisotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness, float ratio);

} // namespace Operations
} // namespace Core
