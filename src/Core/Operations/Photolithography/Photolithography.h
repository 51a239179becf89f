#pragma once

// Photoresist development through image masks: every lit run of resist dissolves through its thickness.
//
// Light from above reaches a column unless the top mask covers it, light from below unless the
// bottom mask does; for the negative resist the masks are inverted. In a lit column each
// vertically connected run of resist whose lit end faces empty space inside the volume is
// removed completely. Resist is never removed sideways and no other cell changes.

#include "Model/Masks/ImageMask.h"
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

class Photolithography {
public:
    // Slabs narrower than this run as one slab on the calling thread.
    static constexpr uint32_t kMinimumSlabWidth = 2; // cells along x

    Photolithography(Model::Automaton::TotalVolume &volume, uint32_t resist,
                     const Model::Masks::ImageMask &bottomMask, const Model::Masks::ImageMask &topMask);

    // Develops the resist, holding the volume's cells for the whole run.
    void run();

    // Whether no light reaches column (x, y) from above / from below.
    bool coveredFromTop(uint32_t x, uint32_t y) const { return topCovered[x * sizeY + y] != 0; }
    bool coveredFromBelow(uint32_t x, uint32_t y) const { return bottomCovered[x * sizeY + y] != 0; }

    // width = sizeX / threads: one slab [0, sizeX) when width < kMinimumSlabWidth, otherwise
    // `threads` slabs of that width, the last one ending at sizeX.
    static std::vector<Util::Slab> slabs(uint32_t sizeX, uint32_t threads);

private:
    // One entry per column (x·sizeY + y), 1 where the mask keeps the light out. Columns outside
    // the image, and every column of an empty or inconsistent mask, are lit.
    std::vector<uint8_t> exposureMap(const Model::Masks::ImageMask &mask) const;
    void developSlab(Model::Automaton::Cell *cells, Util::Slab slab) const;
    void developColumn(Model::Automaton::Cell *column, bool litFromTop, bool litFromBelow) const;

    Model::Automaton::TotalVolume &volume;
    uint32_t resist;
    uint32_t sizeX;
    uint32_t sizeY;
    uint32_t sizeZ;
    bool negative;
    std::vector<uint8_t> bottomCovered;
    std::vector<uint8_t> topCovered;
};

// The photolithography step: `resist` developed in `volume` through the two masks.
void developPhotoresist(Model::Automaton::TotalVolume &volume, uint32_t resist,
                        const Model::Masks::ImageMask &bottomMask, const Model::Masks::ImageMask &topMask);

} // namespace Operations
} // namespace Core
