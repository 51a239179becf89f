#pragma once

// Layer-by-layer growth through the Moore neighbourhood (the 26 cells that share a face, an edge
// or a corner with a cell): after n layers every cell that can be reached from a seed through at
// most n cells of the material the front moves through has changed, so distances follow the
// chessboard metric and edges and corners come out square.
//
// The shared engine of Moore deposition (the front moves through empty cells and fills them) and
// Moore etching (it moves through the etched material and empties it).
//
// The front lives in bit sets, 64 cells of a z row to a word, and grows by dilation: the next
// layer is the front spread over its 3 × 3 × 3 blocks, ORing whole words, less the cells the
// front cannot enter. Only the first pass reads the cells; the cells that change are written
// once, at the end, so a column's layers share their cache lines instead of each layer going
// back to memory for them.

#include "Core/Operations/DistanceCounting/PerSlab.h"
#include "Util/SlabRunner.h"

#include <algorithm>
#include <cstdint>
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

    // Front cells changed over the whole run (summed over slabs and steps).
    uint64_t evaluatedFrontCells() const;

private:
    // Rows [yBegin, yEnd) and words [wordBegin, wordEnd) of one plane of a bit set: every word
    // of the plane outside them is zero.
    struct Box {
        uint32_t yBegin = 0;
        uint32_t yEnd = 0;
        uint32_t wordBegin = 0;
        uint32_t wordEnd = 0;
        bool empty() const { return yBegin >= yEnd; }
        // Widens the box to cover `other` too.
        void cover(const Box &other)
        {
            if (other.empty())
                return;
            if (empty()) {
                *this = other;
                return;
            }
            yBegin = std::min(yBegin, other.yBegin);
            yEnd = std::max(yEnd, other.yEnd);
            wordBegin = std::min(wordBegin, other.wordBegin);
            wordEnd = std::max(wordEnd, other.wordEnd);
        }
    };

    // One bit per cell: row (x, y) takes `rowWords` words, z at bit z mod 64 of word z / 64, and
    // the bits past sizeZ stay zero. Each plane knows the box its set bits lie in.
    struct Bits {
        std::vector<uint64_t> words;
        std::vector<Box> boxes; // per plane
    };

    struct Scratch {
        // A plane's rows ORed across x, with a zero guard row on either side; zero outside the
        // box being worked on.
        std::vector<uint64_t> plane;
        uint64_t evaluated = 0;
        bool grew = false;
    };

    enum class Pass {
        Seed,    // into = what `from` reaches
        Step,    // the cells of `from` change; into = what they reach
        LastStep // the cells of `from` change; nothing further is reached
    };

    // The through bits of the slab's planes and, into `sources`, the cells that seed their
    // neighbours.
    void readSlab(Util::Slab bounds, Bits &sources);
    // For every plane of the slab: into = the 3 × 3 × 3 dilation of `from`, less the cells the
    // front cannot enter; in the steps, the plane's own cells of `from` change first.
    void growSlab(Util::Slab bounds, unsigned slab, Pass pass, const Bits &from, Bits &into);
    // Gives every changed cell of the slab its new material.
    void writeSlab(Util::Slab bounds, unsigned slab);

    size_t rowOf(uint32_t x, uint32_t y) const { return size_t(x) * sizeY + y; }
    // Calls run(begin, end) over runs of word offsets within a plane that cover the box: one
    // run when the box spans whole rows, else one per row, so that a narrow band of a tall
    // volume costs its own words only.
    template <typename Run>
    void eachRun(const Box &box, Run run) const
    {
        if (box.empty())
            return;
        if (box.wordEnd - box.wordBegin == rowWords) {
            run(size_t(box.yBegin) * rowWords, size_t(box.yEnd) * rowWords);
            return;
        }
        for (uint32_t y = box.yBegin; y < box.yEnd; ++y)
            run(size_t(y) * rowWords + box.wordBegin, size_t(y) * rowWords + box.wordEnd);
    }

    Model::Automaton::TotalVolume &volume;
    const Rule rule;
    const uint32_t sizeX;
    const uint32_t sizeY;
    const uint32_t sizeZ;
    const uint32_t rowWords; // 64-bit words per z row, rounded up
    const std::vector<Util::Slab> slabs;
    // Set while the cell holds the material the front moves through and has not changed.
    std::vector<uint64_t> throughBits;
    // The cells that change, written to the cells once the last layer is known.
    std::vector<uint64_t> changedBits;
    Bits front;
    Bits reached;
    PerSlab<Scratch> scratch;
    Model::Automaton::Cell *cells = nullptr;
};

} // namespace Operations
} // namespace Core
