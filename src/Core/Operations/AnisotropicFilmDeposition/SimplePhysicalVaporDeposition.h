#pragma once

// Physical vapour deposition as line-of-sight growth by weighted Euclidean distance (Danielsson's
// vector distance transform with lateral steps counting 1/q times their length).
//
// Only solid cells whose face toward the vapour is open are sources: those with an empty cell
// above when depositing on top, below when depositing on the bottom, either for both sides.
// Every empty cell within weighted distance R of a source receives the deposited material.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class SimplePhysicalVaporDeposition : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    // Which solid faces the vapour reaches; the codes are those of process lists.
    enum Sides : uint32_t { Top = 1, Bottom = 2, BothSides = 3 };

    // `ratio`: horizontal to vertical ratio q; 0 or less grows vertically only.
    SimplePhysicalVaporDeposition(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness,
                                  float ratio, uint32_t sides);

    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;
    using AbstractDistanceCountingAutomatonNoFinalize::run;

    // Enough steps to fill every cell within the weighted thickness.
    unsigned stepCount() const { return steps; }

private:
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;
    bool isSource(uint32_t index) const;

    uint32_t depositedMaterial;
    float thickness;
    float thicknessSquared;
    uint32_t sides;
    uint32_t sizeZ;
    unsigned steps;
};

// The PVD step: a film of `material`, `thickness` length units thick, grown from the solid
// faces that look up (`sides` Top), down (Bottom) or either way (BothSides).
void depositPhysicalVapor(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness, float ratio,
                          uint32_t sides);

} // namespace Operations
} // namespace Core
