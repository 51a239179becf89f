#pragma once

// Layer-by-layer growth through the Moore neighbourhood (the 26 cells that share a face, an edge
// or a corner with a cell): after n layers every cell that can be reached from a seed through at
// most n cells of the material the front moves through has changed, so distances follow the
// chessboard metric and edges and corners come out square.
//
// The shared engine of Moore deposition (the front moves through empty cells and fills them) and
// Moore etching (it moves through the etched material and empties it).

#include "Core/Operations/DistanceCounting/PerSlab.h"
#include "Util/SlabRunner.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}
}

namespace Core {
namespace Operations {

class MooreFront {
public:
    // Sorted cell indices without repeats.
    using IndexSet = std::vector<uint32_t>;

    // Which cells of the material the front moves through make up its first layer.
    enum class Seed {
        NextToSolid, // those with a non-empty cell among their 26 neighbours
        NextToEmpty, // those with an empty cell among their 26 neighbours
    };

    struct Rule {
        uint32_t through; // the material of the cells the front moves into
        uint32_t becomes; // what a reached cell turns into
        Seed seed;
    };

    // Slabs narrower than this many x planes are not worth their tasks: below it the whole
    // volume is one slab.
    static constexpr uint32_t kMinimumSlabWidth = 2; // planes

    MooreFront(Model::Automaton::TotalVolume &volume, Rule rule);
    ~MooreFront();

    MooreFront(const MooreFront &) = delete;
    MooreFront &operator=(const MooreFront &) = delete;

    // Locks the cells, seeds the first layer and changes `layers` layers, one per step, then
    // unlocks. A front that has nowhere left to go ends the run early.
    void run(uint32_t layers);

    // Front cells looked at over the whole run (summed over slabs and steps).
    uint64_t evaluatedFrontCells() const;

private:
    struct SlabSets {
        IndexSet front;
        IndexSet marked; // the front cells that change in this step
        // marked[0, borderBelowEnd) and marked[borderAboveBegin, end) lie on the slab's first
        // and last planes, whose through bits change at the barrier; the others' change as
        // they are marked.
        size_t borderBelowEnd = 0;
        size_t borderAboveBegin = 0;
        IndexSet next;   // the next layer inside the slab
        IndexSet lowerHandOver;
        IndexSet upperHandOver;
        // One bit per cell of the slab and of the planes on either side, laid out as
        // `throughBits` is from plane `reachFirstPlane` on: the neighbours of the marked cells,
        // collected without repeats and read back in ascending order. All zero between steps.
        std::vector<uint64_t> reached;
        uint32_t reachFirstPlane = 0;
        uint64_t evaluated = 0;
    };

    void seedSlab(Util::Slab bounds, unsigned slab);
    // Phase 1 of a step: marks the slab's front cells that change, changing at once those off
    // its border planes, and finds the next layer, handing the cells beyond the slab's ends to
    // its neighbours.
    void markSlab(Util::Slab bounds, unsigned slab);
    // Phase 2, once every slab finished phase 1: changes the marked cells of the border planes
    // and takes the neighbours' hand-overs into the slab's next front.
    void changeSlab(unsigned slab);
    // Sets the reached bits of the 3 × 3 × 3 block around cell (x, y, z) (clipped to the
    // volume).
    void reachAround(uint32_t x, uint32_t y, uint32_t z, SlabSets &own) const;
    // Reads back the reached bits of plane x that hold the material the front moves through,
    // less own.marked[markedBegin, markedEnd) (the plane's marked cells that have not changed
    // yet), into the next layer or a hand-over set, and clears them.
    void collectPlane(uint32_t x, Util::Slab bounds, size_t markedBegin, size_t markedEnd, SlabSets &own);
    // For plane x: out[y·sizeZ + z] is 1 when one of the 3 × 3 cells around (y, z) in that plane
    // makes a neighbour a seed, and through[y·sizeZ + z] when the cell holds the material the
    // front moves through. A plane outside the volume gives all zeros.
    void seedingCellsNear(uint32_t x, std::vector<uint8_t> &row, std::vector<uint8_t> &out,
                          std::vector<uint8_t> &through) const;

    Model::Automaton::TotalVolume &volume;
    const Rule rule;
    const uint32_t sizeX;
    const uint32_t sizeY;
    const uint32_t sizeZ;
    const uint32_t planeSize;
    const uint32_t planeWords; // 64-bit words a plane takes in a bit set, rounded up
    const std::vector<Util::Slab> slabs;
    // One bit per cell, set while the cell holds the material the front moves through; each
    // plane starts on a word of its own, so that slabs never share a word. It answers what the
    // next layer is without reading the cells again: the only cell a step touches is the one it
    // changes. A slab changes the bits of its own planes only, those of its border planes at the
    // end of the step.
    std::vector<uint64_t> throughBits;
    PerSlab<SlabSets> sets;
    std::unique_ptr<std::mutex[]> slabLocks;
    Model::Automaton::Cell *cells = nullptr;
};

} // namespace Operations
} // namespace Core
