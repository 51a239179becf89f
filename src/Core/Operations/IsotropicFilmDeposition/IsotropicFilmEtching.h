#pragma once

// Isotropic film etching: every cell of the etched material within Euclidean distance R of an
// empty cell becomes empty; other materials are never reached and keep their shape.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class IsotropicFilmEtching : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    IsotropicFilmEtching(Model::Automaton::TotalVolume &volume, uint32_t material, float depth);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // trunc(ceil(R × kStepsPerCell / h)), all in double precision.
    static unsigned stepCount(float depth, float smallestCellLength);

private:
    void initializeCell(unsigned index, unsigned chunk) override;
    void updateCell(unsigned index, unsigned firstX, unsigned endX, unsigned chunk) override;

    uint32_t etchedMaterial;
    float depth;
    float depthSquared;
};

} // namespace Operations
} // namespace Core
