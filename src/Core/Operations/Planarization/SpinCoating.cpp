#include "SpinCoating.h"

#include "ColumnPass.h"
#include "Model/Materials/MaterialIds.h"

#include <algorithm>

namespace Core {
namespace Operations {

SpinCoating::SpinCoating(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t height)
    : volume(volume), poured(material), fillHeight(std::min(height, volume.sizeZ()))
{
}

void SpinCoating::run()
{
    forEachColumn(volume, [this](Model::Automaton::Cell *column, uint32_t) {
        for (uint32_t z = 0; z < fillHeight; ++z)
            if (column[z].material() == Model::Materials::kEmptyMaterial)
                column[z].setMaterial(poured);
    });
}

void pourMaterial(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t height)
{
    SpinCoating(volume, material, height).run();
}

} // namespace Operations
} // namespace Core
