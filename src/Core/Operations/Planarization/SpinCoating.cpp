#include "SpinCoating.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Materials/MaterialIds.h"
#include "Util/SlabRunner.h"

#include <algorithm>

namespace Core {
namespace Operations {

SpinCoating::SpinCoating(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t height)
    : volume(volume), poured(material), fillHeight(std::min(height, volume.sizeZ()))
{
}

void SpinCoating::run()
{
    const Model::Automaton::CellLock lock(volume);
    Model::Automaton::Cell *cells = lock.cells();
    const uint32_t sizeY = volume.sizeY();
    const uint32_t sizeZ = volume.sizeZ();
    const auto slabs = Util::splitWholeBelowMinimumWidth(volume.sizeX(), Util::slabThreadCount(), kMinimumSlabWidth);
    Util::runSlabs(slabs, [&](size_t, Util::Slab slab) {
        for (uint32_t x = slab.begin; x < slab.end; ++x)
            for (uint32_t y = 0; y < sizeY; ++y) {
                Model::Automaton::Cell *column = cells + (size_t(x) * sizeY + y) * sizeZ;
                for (uint32_t z = 0; z < fillHeight; ++z)
                    if (column[z].material() == Model::Materials::kEmptyMaterial)
                        column[z].setMaterial(poured);
            }
    });
}

void pourMaterial(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t height)
{
    SpinCoating(volume, material, height).run();
}

} // namespace Operations
} // namespace Core
