#pragma once

// Anisotropic etching by weighted Euclidean distance from the exposed surface (Danielsson's
// vector distance transform with lateral steps counting 1/q times their length).
//
// Every cell of the etched material within weighted distance R of an empty cell becomes empty:
// the etch goes R deep and about q·R sideways under a mask; other materials keep their shape.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class AnisotropicFilmEtching : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    // `ratio`: horizontal to vertical ratio q; 0 or less etches vertically only.
    AnisotropicFilmEtching(Model::Automaton::TotalVolume &volume, uint32_t material, float depth, float ratio);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // Enough steps to reach every cell within the weighted depth.
    unsigned stepCount() const { return steps; }

private:
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;

    uint32_t etchedMaterial;
    float depth;
    float depthSquared;
    unsigned steps;
};

// The anisotropic etching step: `material` removed `depth` length units deep from wherever it
// meets empty space, and `ratio` times that sideways.
void etchAnisotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float depth, float ratio);

} // namespace Operations
} // namespace Core
