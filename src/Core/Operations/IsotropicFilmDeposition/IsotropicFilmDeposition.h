#pragma once

// Isotropic film deposition: every empty cell within Euclidean distance R of a solid cell
// receives the deposited material (vector distance propagation over the six face neighbours).

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class IsotropicFilmDeposition : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    IsotropicFilmDeposition(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // trunc(ceilf(R / h) × kStepsPerCell): the ceiling in single precision, the product in double.
    static unsigned stepCount(float thickness, float smallestCellLength);

private:
    void initializeCell(unsigned index, unsigned chunk) override;
    void updateCell(unsigned index, unsigned firstX, unsigned endX, unsigned chunk) override;

    uint32_t depositedMaterial;
    float thickness;
    float thicknessSquared;
};

} // namespace Operations
} // namespace Core
