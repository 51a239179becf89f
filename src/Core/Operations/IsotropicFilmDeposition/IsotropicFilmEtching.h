#pragma once

// Isotropic etching by Euclidean distance from the exposed surface (Danielsson's vector distance transform).
//
// Every cell of the etched material within Euclidean distance R of an empty cell becomes empty;
// other materials are never reached and keep their shape.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class IsotropicFilmEtching : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    IsotropicFilmEtching(Model::Automaton::TotalVolume &volume, uint32_t material, float depth);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // Enough steps to fill every cell within the depth: see stepsToCover.
    static unsigned stepCount(float depth, float smallestCellLength);

private:
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;

    uint32_t etchedMaterial;
    float depth;
    float depthSquared;
};

// The etching step: `material` removed to `depth` length units from wherever it meets empty space.
void etchIsotropicFilm(Model::Automaton::TotalVolume &volume, uint32_t material, float depth);

} // namespace Operations
} // namespace Core
