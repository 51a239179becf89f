#pragma once

// The one pass the slice steps make: every (x, y) column of the volume handed to a rule, the
// x range cut into slabs of at least kSliceMinimumSlabWidth planes, the cells locked for the pass.

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Util/SlabRunner.h"

#include <cstddef>
#include <cstdint>

namespace Core {
namespace Operations {

// Slabs narrower than this many x planes are not worth their tasks.
constexpr uint32_t kSliceMinimumSlabWidth = 3; // planes

// `rule(column, sizeZ)` gets the column's cells from z = 0 up.
template <typename ColumnRule>
void forEachColumn(Model::Automaton::TotalVolume &volume, ColumnRule rule)
{
    const Model::Automaton::CellLock lock(volume);
    Model::Automaton::Cell *cells = lock.cells();
    const uint32_t sizeY = volume.sizeY();
    const uint32_t sizeZ = volume.sizeZ();
    const auto slabs = Util::splitWholeBelowMinimumWidth(volume.sizeX(), Util::slabThreadCount(), kSliceMinimumSlabWidth);
    Util::runSlabs(slabs, [&](size_t, Util::Slab slab) {
        for (uint32_t x = slab.begin; x < slab.end; ++x)
            for (uint32_t y = 0; y < sizeY; ++y)
                rule(cells + (size_t(x) * sizeY + y) * sizeZ, sizeZ);
    });
}

} // namespace Operations
} // namespace Core
