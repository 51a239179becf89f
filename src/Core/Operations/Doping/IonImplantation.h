#pragma once

// Ion implantation with annealing: a band of implanted cells below the top surface of every
// column, then diffusion from the band by Euclidean distance (Danielsson's vector distance
// transform).
//
// In each column the cells are counted from the topmost non-empty one (k = 1, 2, ...); a
// dopable cell whose depth k·sz lies within half a cell plus the vertical spread of the
// implantation depth is implanted. Annealing then dopes every dopable cell within the annealing
// distance of an implanted one, along paths through dopable cells.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

class IonImplantation : private AbstractDistanceCountingAutomatonNoFinalize {
public:
    // `dopableIds`: the materials that take the dopant; `dopedMaterial`: what they become.
    // Lengths in length units.
    IonImplantation(Model::Automaton::TotalVolume &volume, IndexSet dopableIds, uint32_t dopedMaterial,
                    float implantationDepth, float verticalSpread, float annealingDistance);

    // Implants the band, then runs `iterations` annealing steps.
    void run(unsigned iterations) override;
    using AbstractDistanceCountingAutomatonNoFinalize::evaluatedFrontCells;

    // Enough annealing steps to reach every cell within the annealing distance: see stepsToCover.
    static unsigned stepCount(float annealingDistance, float smallestCellLength);

    // Whether the k-th cell from the top of a column (k = 1 for the topmost non-empty cell), of
    // height `cellHeight`, lies in the implanted band.
    static bool inImplantedBand(uint32_t k, float cellHeight, float implantationDepth, float verticalSpread);

private:
    // The column pass of one slab: empty cells above each column's top are inert, dopable cells
    // in the band become implanted sources, the other dopable cells wait for the annealing.
    void implantColumns(Util::Slab bounds, unsigned slab);
    // After every column is implanted: the dopable cells next to a source start the annealing.
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;

    bool isDopable(uint32_t material) const;
    // An implanted cell: fixed at distance zero. (Every other fixed cell sits at the annealing
    // distance, which is not zero whenever annealing can reach anything.)
    static bool isSource(const Model::Automaton::Cell &cell);

    IndexSet dopable;
    uint32_t dopedMaterial;
    float implantationDepth;
    float verticalSpread;
    float annealingDistance;
    float annealingSquared;
    uint32_t sizeY;
    uint32_t sizeZ;
    float cellHeight;
};

// The implantation step with the dopable materials of the catalogue's implantation process.
void implantIons(Model::Automaton::TotalVolume &volume, uint32_t dopedMaterial, float implantationDepth,
                 float verticalSpread, float annealingDistance);

} // namespace Operations
} // namespace Core
