#include "GlueSubstrate.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Util/SlabRunner.h"

#include <algorithm>
#include <optional>

namespace Core {
namespace Operations {

using Model::Automaton::Cell;
using Model::Automaton::TotalVolume;

GlueSubstrate::GlueSubstrate(TotalVolume &base, TotalVolume &top, const GlueLayout &layout,
                             const GlueSettings &settings)
    : base(base), top(top), layout(layout), settings(settings)
{
}

std::vector<uint32_t> GlueSubstrate::run()
{
    const size_t resultY = settings.sizeY;
    const size_t resultZ = settings.sizeZ;
    std::vector<uint32_t> result(size_t(settings.sizeX) * resultY * resultZ, 0);
    auto resultIndex = [&](size_t x, size_t y, size_t z) { return (x * resultY + y) * resultZ + z; };

    // A volume glued onto itself is locked once: its mutex does not nest.
    const Model::Automaton::CellReadLock baseLock(base);
    std::optional<Model::Automaton::CellReadLock> topLock;
    if (&top != &base)
        topLock.emplace(top);
    const Cell *baseCells = baseLock.cells();
    const Cell *topCells = topLock ? topLock->cells() : baseCells;

    // Both volumes are cut into the same number of slabs, so that task i copies slab i of each.
    uint32_t threads = Util::slabThreadCount();
    if (base.sizeX() / threads < kGlueMinimumSlabWidth || top.sizeX() / threads < kGlueMinimumSlabWidth)
        threads = 1;
    const auto baseSlabs = Util::splitLastSlabTakesRest(0, base.sizeX(), threads);
    const auto topSlabs = Util::splitLastSlabTakesRest(0, top.sizeX(), threads);

    // Base slabs write disjoint x ranges below baseTop, top slabs disjoint x ranges from baseTop
    // up, so no two tasks write the same result cell.
    const uint32_t baseHeight = std::min(layout.baseTop, base.sizeZ());
    auto copyBase = [&](Util::Slab slab) {
        for (uint32_t x = slab.begin; x < slab.end; ++x)
            for (uint32_t y = 0; y < base.sizeY(); ++y) {
                const Cell *from = baseCells + base.cellIndex(x, y, 0);
                uint32_t *to = result.data() + resultIndex(x, y, 0);
                for (uint32_t z = 0; z < baseHeight; ++z)
                    to[z] = from[z].material();
            }
    };
    auto copyTop = [&](Util::Slab slab) {
        for (uint32_t x = slab.begin; x < slab.end; ++x) {
            const size_t toX = settings.dx + (settings.invert ? top.sizeX() - 1 - x : x);
            for (uint32_t y = 0; y < top.sizeY(); ++y) {
                const Cell *from = topCells + top.cellIndex(x, y, 0);
                uint32_t *to = result.data() + resultIndex(toX, settings.dy + y, layout.baseTop);
                for (uint32_t z = layout.topBottom; z < layout.topTop; ++z) {
                    const uint32_t up = settings.invert ? layout.topTop - 1 - z : z - layout.topBottom;
                    to[up] = from[z].material();
                }
            }
        }
    };
    // With one thread both volumes make one slab; with more, both are at least two planes per
    // thread wide, so both make `threads` slabs.
    Util::runSlabs(baseSlabs, [&](size_t i, Util::Slab slab) {
        copyBase(slab);
        copyTop(topSlabs[i]);
    });
    return result;
}

std::shared_ptr<TotalVolume> glueVolumes(TotalVolume &base, TotalVolume &top, const GlueLayout &layout,
                                         const GlueSettings &settings)
{
    const std::vector<uint32_t> materials = GlueSubstrate(base, top, layout, settings).run();
    return std::make_shared<TotalVolume>(settings.sizeX, settings.sizeY, settings.sizeZ, layout.cellSizeX,
                                         layout.cellSizeY, layout.cellSizeZ, base.origin(), materials);
}

} // namespace Operations
} // namespace Core
