#include "Photolithography.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

using Model::Automaton::Cell;
using Model::Masks::ImageMask;

Photolithography::Photolithography(Model::Automaton::TotalVolume &volume, uint32_t resist,
                                   const ImageMask &bottomMask, const ImageMask &topMask)
    : volume(volume),
      resist(resist),
      sizeX(volume.sizeX()),
      sizeY(volume.sizeY()),
      sizeZ(volume.sizeZ()),
      negative(resist == Model::Materials::kNegativePhotoresistMaterial)
{
    bottomCovered = exposureMap(bottomMask);
    topCovered = exposureMap(topMask);
}

std::vector<uint8_t> Photolithography::exposureMap(const ImageMask &mask) const
{
    std::vector<uint8_t> covered(size_t(sizeX) * sizeY, 0);
    if (!mask.isConsistent())
        return covered;
    // A negative resist hardens where light falls: what the mask leaves clear is what stays.
    for (uint32_t x = 0; x < sizeX && x < mask.width; ++x)
        for (uint32_t y = 0; y < sizeY && y < mask.height; ++y)
            covered[size_t(x) * sizeY + y] = mask.covers(x, y) != negative ? 1 : 0;
    return covered;
}

std::vector<Util::Slab> Photolithography::slabs(uint32_t sizeX, uint32_t threads)
{
    threads = threads == 0 ? 1 : threads;
    if (sizeX / threads < kMinimumSlabWidth)
        return {Util::Slab{0, sizeX}};
    return Util::splitLastSlabTakesRest(0, sizeX, threads);
}

void Photolithography::run()
{
    const Model::Automaton::CellLock lock(volume);
    Cell *cells = lock.cells();
    // Columns never meet: each slab develops its own columns, whatever the thread count.
    Util::runSlabs(slabs(sizeX, Util::slabThreadCount()),
                   [this, cells](size_t, Util::Slab slab) { developSlab(cells, slab); });
}

void Photolithography::developSlab(Cell *cells, Util::Slab slab) const
{
    for (uint32_t x = slab.begin; x < slab.end; ++x) {
        for (uint32_t y = 0; y < sizeY; ++y) {
            const bool litFromTop = !coveredFromTop(x, y);
            const bool litFromBelow = !coveredFromBelow(x, y);
            if (litFromTop || litFromBelow)
                developColumn(cells + volume.cellIndex(x, y, 0), litFromTop, litFromBelow);
        }
    }
}

// The cells bounding a run are never resist, so removing one run changes neither the bounds
// nor the emptiness that decides whether another run of the same column is lit.
void Photolithography::developColumn(Cell *column, bool litFromTop, bool litFromBelow) const
{
    uint32_t z = 0;
    while (z < sizeZ) {
        if (column[z].material() != resist) {
            ++z;
            continue;
        }
        uint32_t end = z; // the run is [z, end)
        while (end < sizeZ && column[end].material() == resist)
            ++end;
        const bool openAbove = end < sizeZ && column[end].material() == Model::Materials::kEmptyMaterial;
        const bool openBelow = z > 0 && column[z - 1].material() == Model::Materials::kEmptyMaterial;
        if ((litFromTop && openAbove) || (litFromBelow && openBelow))
            for (uint32_t k = z; k < end; ++k)
                column[k].setMaterial(Model::Materials::kEmptyMaterial);
        z = end;
    }
}

void developPhotoresist(Model::Automaton::TotalVolume &volume, uint32_t resist, const ImageMask &bottomMask,
                        const ImageMask &topMask)
{
    Photolithography(volume, resist, bottomMask, topMask).run();
}

} // namespace Operations
} // namespace Core
