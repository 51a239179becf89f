#include "SlabRunner.h"

#include <algorithm>

namespace Util {

uint32_t slabThreadCount()
{
    return uint32_t(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
}

std::vector<Slab> splitLastSlabTakesRest(uint32_t begin, uint32_t end, uint32_t threads)
{
    threads = std::max<uint32_t>(threads, 1);
    const uint32_t range = end > begin ? end - begin : 0;
    const uint32_t width = range / threads;
    if (width == 0)
        return {Slab{begin, end}};
    std::vector<Slab> slabs(threads);
    for (uint32_t i = 0; i < threads; ++i)
        slabs[i] = Slab{begin + i * width, begin + (i + 1) * width};
    slabs.back().end = end;
    return slabs;
}

std::vector<Slab> splitWholeBelowMinimumWidth(uint32_t size, uint32_t threads, uint32_t minimumWidth)
{
    threads = std::max<uint32_t>(threads, 1);
    if (size / threads < std::max<uint32_t>(minimumWidth, 1))
        return {Slab{0, size}};
    return splitLastSlabTakesRest(0, size, threads);
}

std::vector<Slab> splitRemainderOverFirstSlabs(uint32_t size, uint32_t threads)
{
    threads = std::max<uint32_t>(threads, 1);
    const uint32_t width = size / threads;
    if (width == 0)
        return {Slab{0, size}};
    uint32_t remainder = size % width;
    std::vector<Slab> slabs(threads);
    uint32_t start = 0;
    for (uint32_t i = 0; i < threads; ++i) {
        uint32_t stop = start + width;
        if (remainder > 0) {
            ++stop;
            --remainder;
        }
        slabs[i] = Slab{start, stop};
        start = stop;
    }
    slabs.back().end = size;
    return slabs;
}

} // namespace Util
