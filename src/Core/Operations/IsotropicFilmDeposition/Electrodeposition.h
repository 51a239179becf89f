#pragma once

// Electroplating: every empty cell within Euclidean distance R of a cell of the conducting
// material receives the deposited material; other solids neither plate nor let the film through.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class Electrodeposition : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    Electrodeposition(Model::Automaton::TotalVolume &volume, uint32_t depositedMaterial, uint32_t conductingMaterial,
                      float thickness);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // The same count as isotropic deposition.
    static unsigned stepCount(float thickness, float smallestCellLength);

private:
    void initializeCell(unsigned index, unsigned chunk) override;
    void updateCell(unsigned index, unsigned firstX, unsigned endX, unsigned chunk) override;

    uint32_t depositedMaterial;
    uint32_t conductingMaterial;
    float thickness;
    float thicknessSquared;
};

} // namespace Operations
} // namespace Core
