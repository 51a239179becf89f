#pragma once

// Masks built from a rule, for tests of the masked steps.

#include "Model/Masks/ImageMask.h"

#include <cstdint>
#include <functional>

namespace TestSupport {

// A mask of the given size whose opaque columns are those where opaque(x, y) holds.
inline Model::Masks::ImageMask maskOf(uint32_t width, uint32_t height,
                                      const std::function<bool(uint32_t, uint32_t)> &opaque)
{
    Model::Masks::ImageMask mask;
    mask.width = width;
    mask.height = height;
    mask.bits = QBitArray(int(width * height));
    for (uint32_t x = 0; x < width; ++x)
        for (uint32_t y = 0; y < height; ++y)
            mask.bits.setBit(int(x * height + y), opaque(x, y));
    return mask;
}

} // namespace TestSupport
