#include "ImageMask.h"

#include <QImage>
#include <QImageReader>
#include <climits>

namespace Model {
namespace Masks {

namespace {

constexpr uint32_t kRgbBits = 0x00ffffffu;
constexpr uint32_t kPureRed = 0x00ff0000u;
constexpr uint32_t kPureBlack = 0x00000000u;

} // namespace

bool ImageMask::isOpaque(uint32_t argb)
{
    const uint32_t rgb = argb & kRgbBits;
    return rgb == kPureRed || rgb == kPureBlack;
}

ImageMask ImageMask::fromImage(const QImage &image)
{
    ImageMask mask;
    if (image.isNull() || uint64_t(image.width()) * uint64_t(image.height()) > uint64_t(INT_MAX))
        return mask;
    // Un-premultiplied, so that a half-transparent pure red pixel still reads as pure red.
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    mask.width = uint32_t(pixels.width());
    mask.height = uint32_t(pixels.height());
    mask.bits = QBitArray(int(mask.width * mask.height));
    for (uint32_t py = 0; py < mask.height; ++py) {
        const auto *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(int(py)));
        const uint32_t y = mask.height - 1 - py; // image rows run downwards, y upwards
        for (uint32_t x = 0; x < mask.width; ++x)
            if (isOpaque(row[x]))
                mask.bits.setBit(int(x * mask.height + y));
    }
    return mask;
}

bool ImageMask::read(const QString &path, ImageMask &mask)
{
    if (path.isEmpty())
        return false;
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    ImageMask read = fromImage(image);
    if (read.isEmpty())
        return false; // too many pixels for one bit vector
    mask = read;
    return true;
}

} // namespace Masks
} // namespace Model
