#include "CutCellVolume.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

using Model::Automaton::Cell;
using Model::Masks::ImageMask;

CutCellVolume::CutCellVolume(Model::Automaton::TotalVolume &volume, const ImageMask &mask)
    : volume(volume),
      sizeX(volume.sizeX()),
      sizeY(volume.sizeY()),
      sizeZ(volume.sizeZ()),
      kept(size_t(volume.sizeX()) * volume.sizeY(), 0)
{
    if (!mask.isConsistent())
        return;
    for (uint32_t x = 0; x < sizeX && x < mask.width; ++x)
        for (uint32_t y = 0; y < sizeY && y < mask.height; ++y)
            kept[size_t(x) * sizeY + y] = mask.covers(x, y) ? 1 : 0;
}

std::vector<Util::Slab> CutCellVolume::slabs(uint32_t sizeX, uint32_t threads)
{
    return Util::splitWholeBelowMinimumWidth(sizeX, threads == 0 ? 1 : threads, kMinimumSlabWidth);
}

// Columns never meet, so each slab changes its own columns whatever the thread count.
template <typename Change>
void CutCellVolume::runOnCutColumns(Change change)
{
    const Model::Automaton::CellLock lock(volume);
    Cell *cells = lock.cells();
    Util::runSlabs(slabs(sizeX, Util::slabThreadCount()), [&](size_t, Util::Slab slab) {
        for (uint32_t x = slab.begin; x < slab.end; ++x) {
            for (uint32_t y = 0; y < sizeY; ++y) {
                if (keeps(x, y))
                    continue;
                Cell *column = cells + volume.cellIndex(x, y, 0);
                for (uint32_t z = 0; z < sizeZ; ++z)
                    change(column[z]);
            }
        }
    });
}

void CutCellVolume::cut()
{
    runOnCutColumns([](Cell &cell) { cell.incrementCutCount(); });
}

void CutCellVolume::uncut()
{
    runOnCutColumns([](Cell &cell) { cell.decrementCutCount(); });
}

void CutCellVolume::reset()
{
    runOnCutColumns([](Cell &cell) { cell.resetCutCount(); });
}

void cutMaskedColumns(Model::Automaton::TotalVolume &volume, const ImageMask &mask)
{
    CutCellVolume(volume, mask).cut();
}

void uncutMaskedColumns(Model::Automaton::TotalVolume &volume, const ImageMask &mask)
{
    CutCellVolume(volume, mask).uncut();
}

void removeAllCuts(Model::Automaton::TotalVolume &volume)
{
    CutCellVolume(volume, ImageMask()).reset();
}

} // namespace Operations
} // namespace Core
