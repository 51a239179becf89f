#pragma once

// Electroplating by Euclidean distance from the conductor (Danielsson's vector distance transform).
//
// Every empty cell within Euclidean distance R of a cell of the conducting material receives the
// deposited material; other solids neither plate nor let the film through.

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
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;

    uint32_t depositedMaterial;
    uint32_t conductingMaterial;
    float thickness;
    float thicknessSquared;
};

// The electroplating step: a film of `depositedMaterial`, `thickness` length units thick, on
// every exposed surface of `conductingMaterial`.
void electroplate(Model::Automaton::TotalVolume &volume, uint32_t depositedMaterial, uint32_t conductingMaterial,
                  float thickness);

} // namespace Operations
} // namespace Core
