#include "FilmExtraction.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <algorithm>

namespace Core {
namespace Operations {

using Model::Automaton::Cell;
using Model::Automaton::TotalVolume;

FilmExtraction::FilmExtraction(TotalVolume &source, uint32_t material, bool invert)
    : source(source), material(material), invert(invert)
{
}

uint32_t FilmExtraction::seed(const Cell *cells) const
{
    const uint32_t count = source.cellCount();
    for (uint32_t i = 0; i < count; ++i)
        if (cells[i].material() == material)
            return i;
    return count;
}

uint32_t FilmExtraction::landing(uint32_t x, uint32_t y, uint32_t z) const
{
    if (!invert)
        return source.cellIndex(x, y, z);
    // A half turn about the x axis: y and z reversed, x kept.
    return source.cellIndex(x, source.sizeY() - 1 - y, source.sizeZ() - 1 - z);
}

std::vector<uint32_t> FilmExtraction::run()
{
    const uint32_t count = source.cellCount();
    std::vector<uint32_t> result(count, Model::Materials::kEmptyMaterial);
    lowestWritten = source.sizeZ();
    highestWritten = 0;
    const Model::Automaton::CellReadLock lock(source);
    const Cell *cells = lock.cells();

    const uint32_t first = seed(cells);
    if (first == count)
        return result;

    const uint32_t sizeX = source.sizeX();
    const uint32_t sizeY = source.sizeY();
    const uint32_t sizeZ = source.sizeZ();
    const uint32_t stepY = sizeZ;
    const uint32_t stepX = sizeY * sizeZ;

    // Breadth first; a cell is marked when it is queued, so it is queued once.
    std::vector<bool> reached(count, false);
    std::vector<uint32_t> queue;
    queue.push_back(first);
    reached[first] = true;
    auto reach = [&](uint32_t index) {
        if (!reached[index] && cells[index].material() == material) {
            reached[index] = true;
            queue.push_back(index);
        }
    };
    for (size_t head = 0; head < queue.size(); ++head) {
        const uint32_t index = queue[head];
        uint32_t x, y, z;
        source.cellCoordinates(index, x, y, z);
        const uint32_t to = landing(x, y, z);
        result[to] = material;
        const uint32_t landedZ = to % sizeZ;
        lowestWritten = std::min(lowestWritten, landedZ);
        highestWritten = std::max(highestWritten, landedZ);
        if (x > 0)
            reach(index - stepX);
        if (x + 1 < sizeX)
            reach(index + stepX);
        if (y > 0)
            reach(index - stepY);
        if (y + 1 < sizeY)
            reach(index + stepY);
        if (z > 0)
            reach(index - 1);
        if (z + 1 < sizeZ)
            reach(index + 1);
    }
    dropToBottom(result);
    return result;
}

void FilmExtraction::dropToBottom(std::vector<uint32_t> &result) const
{
    if (lowestWritten == 0 || lowestWritten > highestWritten)
        return;
    const uint32_t sizeZ = source.sizeZ();
    const size_t columns = size_t(source.sizeX()) * source.sizeY();
    for (size_t column = 0; column < columns; ++column) {
        uint32_t *cell = result.data() + column * sizeZ;
        // Upwards, so that each cell is read before anything lands on it.
        for (uint32_t z = lowestWritten; z <= highestWritten; ++z) {
            const uint32_t id = cell[z];
            cell[z] = Model::Materials::kEmptyMaterial;
            cell[z - lowestWritten] = id;
        }
    }
}

std::shared_ptr<TotalVolume> extractFilm(TotalVolume &source, uint32_t material, bool invert)
{
    const std::vector<uint32_t> materials = FilmExtraction(source, material, invert).run();
    return std::make_shared<TotalVolume>(source.sizeX(), source.sizeY(), source.sizeZ(), source.cellSizeX(),
                                         source.cellSizeY(), source.cellSizeZ(), source.origin(), materials);
}

} // namespace Operations
} // namespace Core
