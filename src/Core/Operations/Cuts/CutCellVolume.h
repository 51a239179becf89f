#pragma once

// Masked cuts: columns left clear by a top-down mask are hidden through their whole height.
//
// A cut never touches a material: it counts on each cell how many cuts hide it (the cell's cut
// count), and surfaces treat a cell with a count above 0 as empty. The mask says which columns
// stay (its opaque pixels); every other column, including every column beyond the image, is
// counted up by a cut, down by an uncut, and cleared by a reset. Because cuts count, undoing one
// cut shows again only what that cut hid.

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

class CutCellVolume {
public:
    // Slabs narrower than this run as one slab on the calling thread.
    static constexpr uint32_t kMinimumSlabWidth = 2; // cells along x

    // With an empty or inconsistent mask no column is kept: every run acts on the whole volume.
    CutCellVolume(Model::Automaton::TotalVolume &volume, const Model::Masks::ImageMask &mask);

    // Each holds the volume's cells for the whole run and acts on every cell of every column the
    // mask does not keep.
    void cut();   // cut count + 1, saturating
    void uncut(); // cut count − 1, not below 0
    void reset(); // cut count 0

    // Whether the mask keeps column (x, y) out of the runs.
    bool keeps(uint32_t x, uint32_t y) const { return kept[size_t(x) * sizeY + y] != 0; }

    // width = sizeX / threads: one slab [0, sizeX) when width < kMinimumSlabWidth, otherwise
    // `threads` slabs of that width, the last one ending at sizeX.
    static std::vector<Util::Slab> slabs(uint32_t sizeX, uint32_t threads);

private:
    template <typename Change>
    void runOnCutColumns(Change change);

    Model::Automaton::TotalVolume &volume;
    uint32_t sizeX;
    uint32_t sizeY;
    uint32_t sizeZ;
    // One entry per column (x·sizeY + y), 1 where the mask keeps the column.
    std::vector<uint8_t> kept;
};

// The masked cut: every column of `volume` that `mask` leaves clear gets one more cut.
void cutMaskedColumns(Model::Automaton::TotalVolume &volume, const Model::Masks::ImageMask &mask);
// Takes back one masked cut made with `mask`.
void uncutMaskedColumns(Model::Automaton::TotalVolume &volume, const Model::Masks::ImageMask &mask);
// Clears every cut of `volume`, whatever masks made them.
void removeAllCuts(Model::Automaton::TotalVolume &volume);

} // namespace Operations
} // namespace Core
