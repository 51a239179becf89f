#include "Planarization.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Materials/MaterialIds.h"
#include "Util/SlabRunner.h"

#include <algorithm>

namespace Core {
namespace Operations {

Planarization::Planarization(Model::Automaton::TotalVolume &volume, uint32_t maximumHeight, uint32_t minimumHeight)
    : volume(volume),
      upperCut(std::min(maximumHeight, volume.sizeZ())),
      lowerCut(std::min(minimumHeight, volume.sizeZ()))
{
}

void Planarization::run()
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
                for (uint32_t z = 0; z < lowerCut; ++z)
                    column[z].setMaterial(Model::Materials::kEmptyMaterial);
                for (uint32_t z = upperCut; z < sizeZ; ++z)
                    column[z].setMaterial(Model::Materials::kEmptyMaterial);
            }
    });
}

void planarize(Model::Automaton::TotalVolume &volume, uint32_t maximumHeight, uint32_t minimumHeight)
{
    Planarization(volume, maximumHeight, minimumHeight).run();
}

} // namespace Operations
} // namespace Core
