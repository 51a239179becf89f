// The files voxfab-batch writes after the list has run: VTK image data, STL surfaces, framed
// pictures. Their option errors are with the other usage errors in BatchProgramTest.cpp.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include <QFile>
#include <QImage>
#include <cstring>
#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::boxSubstrate;
using BatchTest::kSilicon;

namespace {

constexpr uint32_t kSideX = 12; // cells
constexpr uint32_t kSideY = 8;  // cells
constexpr uint32_t kHeight = 10; // cells
constexpr uint32_t kSubstrateHeight = 4; // cells

struct ExportBatchTest : ::testing::Test {
    BatchProgram program;
    const QString output = program.path(QStringLiteral("out.vxf"));
    const QString list
        = program.writeList(QStringLiteral("steps.plst"), {boxSubstrate(kSideX, kSideY, kHeight, kSubstrateHeight, kSilicon)});

    Outcome run(QStringList extra) const
    {
        return program.run(QStringList{"--list", list, "--output", output} + extra);
    }
};

uint32_t stlTriangleCount(const QByteArray &bytes)
{
    uint32_t count = 0;
    std::memcpy(&count, bytes.constData() + 80, sizeof count);
    return count;
}

} // namespace

TEST_F(ExportBatchTest, VtkHoldsTheOutputVolumesMaterialsInVtkOrder)
{
    const QString vti = program.path(QStringLiteral("out.vti"));
    const Outcome outcome = run({"--vtk", vti});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();

    const QByteArray bytes = readFile(vti);
    EXPECT_TRUE(bytes.contains("WholeExtent=\"0 12 0 8 0 10\"")) << bytes.left(400).toStdString();
    const int data = bytes.indexOf('_', bytes.indexOf("<AppendedData")) + 1;
    quint64 length = 0;
    std::memcpy(&length, bytes.constData() + data, sizeof length);
    ASSERT_EQ(length, 4u * kSideX * kSideY * kHeight);
    std::vector<uint32_t> materials(kSideX * kSideY * kHeight);
    std::memcpy(materials.data(), bytes.constData() + data + 8, length);
    const VolumeCells cells = BatchProgram::readDocument(output).value(0);
    for (uint32_t x = 0; x < kSideX; ++x)
        for (uint32_t y = 0; y < kSideY; ++y)
            for (uint32_t z = 0; z < kHeight; ++z) {
                ASSERT_EQ(materials[(z * kSideY + y) * kSideX + x], cells.at(x, y, z));
                ASSERT_EQ(cells.at(x, y, z), z < kSubstrateHeight ? kSilicon : 0u);
            }
}

TEST_F(ExportBatchTest, StlOfTheCubesOfABoxIsItsSixSidesInCellFaces)
{
    const QString cubes = program.path(QStringLiteral("cubes.stl"));
    const QString smooth = program.path(QStringLiteral("smooth.stl"));
    ASSERT_EQ(run({"--stl", cubes}).exitCode, 0);
    ASSERT_EQ(run({"--stl", smooth, "--surface", "smooth"}).exitCode, 0);

    // Two triangles per cell face on the hull of the 12 × 8 × 4 box.
    const uint32_t faces = 2 * (kSideX * kSideY) + 2 * kSubstrateHeight * (kSideX + kSideY);
    const QByteArray cubeBytes = readFile(cubes);
    EXPECT_EQ(stlTriangleCount(cubeBytes), 2 * faces);
    EXPECT_EQ(cubeBytes.size(), 84 + 50 * int(2 * faces));
    EXPECT_GT(stlTriangleCount(readFile(smooth)), 0u);
}

TEST_F(ExportBatchTest, ImageFramesTheVolumeWhateverTheView)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "--image needs an X display; run the tests under xvfb-run";
    for (const char *view : {"iso", "front", "top", "right"}) {
        const QString image = program.path(QStringLiteral("%1.png").arg(QLatin1String(view)));
        const Outcome outcome = run({"--image", image, "--image-size", "320x200", "--view", view});
        ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
        const QImage picture(image, "PNG");
        ASSERT_EQ(picture.size(), QSize(320, 200)) << view;
        // Silicon is grey; the background black and the axes pure colours. The framed box is
        // 12 × 8 × 10 cells with silicon in its lower 4: seen from the front that is 40 % of a
        // picture 90 % high and about two thirds wide, else more.
        int volume = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                volume += c.red() > 20 && c.green() > 20 && c.blue() > 20 ? 1 : 0;
            }
        EXPECT_GT(volume, picture.width() * picture.height() / 8) << view;
    }
}
