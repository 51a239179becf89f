#pragma once

// Diffusion doping by Euclidean distance from the exposed surface (Danielsson's vector distance
// transform).
//
// Every dopable cell within the doping depth of an empty cell, measured along paths through
// dopable cells, becomes the doped material. Other materials neither change nor pass the
// dopant on: silicon under an oxide stays undoped unless dopable cells lead to a surface.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class SimpleDoping : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    // `dopableIds`: the materials that take the dopant; `dopedMaterial`: what they become.
    SimpleDoping(Model::Automaton::TotalVolume &volume, IndexSet dopableIds, uint32_t dopedMaterial, float depth);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // Enough steps to reach every cell within the depth: see stepsToCover.
    static unsigned stepCount(float depth, float smallestCellLength);

private:
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;

    bool isDopable(uint32_t material) const;

    IndexSet dopable;
    uint32_t dopedMaterial;
    float depth;
    float depthSquared;
};

// The doping step: the dopable materials of the catalogue's doping process become
// `dopedMaterial` to `depth` length units from wherever they meet empty space.
void dopeByDiffusion(Model::Automaton::TotalVolume &volume, uint32_t dopedMaterial, float depth);

} // namespace Operations
} // namespace Core
