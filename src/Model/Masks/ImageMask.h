#pragma once

// Masks read from images: one bit per cell column, 1 where the image is opaque.

#include <QBitArray>
#include <QString>
#include <cstdint>

class QImage;

namespace Model {
namespace Masks {

// A mask over the columns of a cell volume. Bit x·height + y belongs to column (x, y); the
// image's bottom row is y = 0. An empty mask (0 bits, width and height 0) covers nothing.
struct ImageMask {
    QBitArray bits;
    uint32_t width = 0;  // along x
    uint32_t height = 0; // along y, also the stride of the bits

    bool isEmpty() const { return width == 0 && height == 0; }
    // Whether the bit count agrees with the size; a mask that does not is ignored.
    bool isConsistent() const { return uint64_t(bits.size()) == uint64_t(width) * height; }
    // Bit (x, y), 0 outside the mask.
    bool covers(uint32_t x, uint32_t y) const
    {
        return x < width && y < height && isConsistent() && bits.testBit(int(x * height + y));
    }

    // One pixel per column, no scaling. A pixel is opaque when its colour, with the alpha
    // channel ignored, is pure red or pure black; every other colour lets the light through.
    static ImageMask fromImage(const QImage &image);
    // Reads a PNG, JPEG or BMP file (any format Qt's image readers know). False, with `mask`
    // unchanged, when the file cannot be read as an image.
    static bool read(const QString &path, ImageMask &mask);
    // Whether a colour given as 0xAARRGGBB counts as opaque.
    static bool isOpaque(uint32_t argb);
};

} // namespace Masks
} // namespace Model
