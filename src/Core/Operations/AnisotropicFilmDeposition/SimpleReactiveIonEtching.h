#pragma once

// Reactive ion etching as a purely vertical column etch: the ions arrive straight down (or up),
// so each column of the etched material loses a fixed number of cells from its exposed end and
// nothing is removed sideways.

#include "Util/SlabRunner.h"

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

class SimpleReactiveIonEtching {
public:
    // Direction bits: where the etched material must be exposed for the ions to reach it.
    static constexpr uint8_t kFromTop = 1u << 0;
    static constexpr uint8_t kFromBelow = 1u << 1;

    // `depth`: cells removed per exposed column end; `directions`: kFromTop and/or kFromBelow.
    SimpleReactiveIonEtching(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t depth,
                             uint8_t directions);

    // Holds the cells' lock for the whole run.
    void run();

    // Slabs along x: width sizeX / threads, the last one taking the rest; one slab when the
    // volume is narrower than the thread count. Columns never cross slabs.
    static std::vector<Util::Slab> slabsFor(uint32_t sizeX, uint32_t threads);

private:
    using IndexSet = std::vector<uint32_t>; // sorted, without repeats

    struct SlabState {
        IndexSet front;
        IndexSet next;
        // Scratch for the next front: the cells below and above the removed ones, each ascending.
        IndexSet below;
        IndexSet above;
        IndexSet removed;
    };

    void initializeSlab(Util::Slab bounds, SlabState &state) const;
    void stepSlab(SlabState &state) const;
    bool isEtched(uint32_t index) const;

    Model::Automaton::TotalVolume &volume;
    uint32_t material;
    uint32_t depth;
    uint8_t directions;
    uint32_t sizeZ;
    uint32_t planeSize;
    std::vector<Util::Slab> slabs;
    std::vector<SlabState> states;
    Model::Automaton::Cell *cells = nullptr;
};

// The simple RIE step: `depth` cells of `material` removed from each exposed end of its columns,
// from the top and/or from below as `directions` says.
void etchReactiveIons(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t depth, uint8_t directions);

} // namespace Operations
} // namespace Core
