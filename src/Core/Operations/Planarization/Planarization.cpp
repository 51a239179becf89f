#include "Planarization.h"

#include "ColumnPass.h"
#include "Model/Materials/MaterialIds.h"

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
    forEachColumn(volume, [this](Model::Automaton::Cell *column, uint32_t sizeZ) {
        for (uint32_t z = 0; z < lowerCut; ++z)
            column[z].setMaterial(Model::Materials::kEmptyMaterial);
        for (uint32_t z = upperCut; z < sizeZ; ++z)
            column[z].setMaterial(Model::Materials::kEmptyMaterial);
    });
}

void planarize(Model::Automaton::TotalVolume &volume, uint32_t maximumHeight, uint32_t minimumHeight)
{
    Planarization(volume, maximumHeight, minimumHeight).run();
}

} // namespace Operations
} // namespace Core
