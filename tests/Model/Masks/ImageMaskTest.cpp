// Masks from images: which pixels are opaque, where each pixel's bit goes, and the files read.

#include "Model/Masks/ImageMask.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Model::Masks::ImageMask;

TEST(ImageMask, PixelsGoToTheirColumnWithTheBottomRowAtYZero)
{
    // 3 wide, 2 high: pixel (px, py) gives bit px * 2 + (1 - py).
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 1, qRgb(0, 0, 0));   // bottom-left: column (0, 0)
    image.setPixel(2, 0, qRgb(255, 0, 0)); // top-right: column (2, 1)
    const ImageMask mask = ImageMask::fromImage(image);
    ASSERT_EQ(mask.width, 3u);
    ASSERT_EQ(mask.height, 2u);
    ASSERT_EQ(mask.bits.size(), 6);
    EXPECT_EQ(mask.bits.count(true), 2);
    EXPECT_TRUE(mask.bits.testBit(0 * 2 + 0));
    EXPECT_TRUE(mask.bits.testBit(2 * 2 + 1));
    EXPECT_TRUE(mask.covers(0, 0));
    EXPECT_TRUE(mask.covers(2, 1));
    EXPECT_FALSE(mask.covers(3, 0)) << "beyond the image nothing is covered";
}

TEST(ImageMask, OnlyPureRedAndPureBlackAreOpaqueWhateverTheirAlpha)
{
    const struct {
        QRgb pixel;
        bool opaque;
    } cases[] = {
        {qRgba(255, 0, 0, 255), true},   {qRgba(0, 0, 0, 255), true},     {qRgba(255, 0, 0, 128), true},
        {qRgba(0, 0, 0, 0), true},       {qRgba(254, 0, 0, 255), false},  {qRgba(128, 0, 0, 255), false},
        {qRgba(0, 0, 255, 255), false},  {qRgba(128, 128, 128, 255), false}, {qRgba(1, 1, 1, 255), false},
        {qRgba(255, 255, 255, 255), false}, {qRgba(255, 0, 1, 255), false},
    };
    for (const auto &c : cases) {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, c.pixel);
        EXPECT_EQ(ImageMask::fromImage(image).bits.testBit(0), c.opaque) << std::hex << c.pixel;
    }
}

TEST(ImageMask, ReadsPngBmpAndJpegFilesAndRefusesWhatIsNoImage)
{
    QTemporaryDir dir;
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 2, qRgb(0, 0, 0));
    for (const char *format : {"png", "bmp"}) {
        const QString path = dir.filePath(QStringLiteral("mask.") + format);
        ASSERT_TRUE(image.save(path, format));
        ImageMask mask;
        ASSERT_TRUE(ImageMask::read(path, mask)) << format;
        EXPECT_EQ(mask.width, 4u);
        EXPECT_EQ(mask.height, 3u);
        EXPECT_EQ(mask.bits.count(true), 1) << format;
        EXPECT_TRUE(mask.covers(1, 0)) << format;
    }
    // JPEG is lossy: only that it reads, at its size.
    const QString jpeg = dir.filePath(QStringLiteral("mask.jpg"));
    ASSERT_TRUE(image.save(jpeg, "jpg"));
    ImageMask fromJpeg;
    ASSERT_TRUE(ImageMask::read(jpeg, fromJpeg));
    EXPECT_EQ(fromJpeg.width, 4u);
    EXPECT_TRUE(fromJpeg.isConsistent());

    // A missing file and a text file leave the mask as it was.
    ImageMask kept = fromJpeg;
    EXPECT_FALSE(ImageMask::read(dir.filePath(QStringLiteral("missing.png")), kept));
    EXPECT_FALSE(ImageMask::read(QString(), kept));
    const QString text = dir.filePath(QStringLiteral("notes.png"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image");
    file.close();
    EXPECT_FALSE(ImageMask::read(text, kept));
    EXPECT_EQ(kept.width, 4u);
    EXPECT_EQ(kept.bits, fromJpeg.bits);
}
