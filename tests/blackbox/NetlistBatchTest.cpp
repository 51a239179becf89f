// voxfab-batch --netlist: the cantilevers of the volume after the list has run, written as a
// netlist; no file, a message and exit status 1 when there are none. The shipped cantilever
// example builds a released poly-silicon beam whose netlist is worked out by hand.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include "Engine/ProcessListFile.h"

#include "common/Cells.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::kSilicon;

namespace {

constexpr uint32_t kBeamMaterial = 2; // 2700 kg/m³, 7.0e10 Pa in the beam table
constexpr uint32_t kPolySilicon = 16;
constexpr uint32_t kOxide = 3;
const QString kNoModel = QStringLiteral("No model data was extracted.");

QString example(const char *name)
{
    return QDir(QStringLiteral(VOXFAB_EXAMPLES_DIR)).filePath(QLatin1String(name));
}

struct NetlistBatchTest : ::testing::Test {
    // A document of one volume: a silicon block x < 4 and, with `beam`, a beam of material 2,
    // 10 × 2 × 1 cells at z = 1 from its high-x face.
    QString blockDocument(bool beam)
    {
        auto volume = TestSupport::volumeOf(14, 2, 3, [=](uint32_t x, uint32_t, uint32_t z) {
            return x < 4 ? kSilicon : z == 1 && beam ? kBeamMaterial : 0u;
        });
        return program.writeDocument(QStringLiteral("block.vxf"), {volume});
    }
    // A step that changes nothing: planarization over the whole height.
    QString harmlessList() { return program.writeList(QStringLiteral("keep.plst"), {BatchTest::planarization(3, 0)}); }

    BatchProgram program;
    const QString output = program.path(QStringLiteral("out.vxf"));
    const QString netlist = program.path(QStringLiteral("beam.cir"));
};

} // namespace

TEST_F(NetlistBatchTest, BeamInTheOutputVolumeIsWrittenAsANetlist)
{
    const Outcome run = program.run({"--document", blockDocument(true), "--list", harmlessList(), "--output", output,
                                     "--netlist", netlist});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    // 20 cells × 2.00129819772e-17 m³ × 2700 kg/m³ × 33/140 = 2.547366706e-13 kg;
    // k = 3 × 7.0e10 × (1³ · 2 / 12) / 10³ = 3.5e7 N/m, so 1/k = 2.857142857e-8.
    EXPECT_EQ(readFile(netlist), QByteArray("Model extracted by Voxfab\n"
                                            "c1 1 0 2.54737e-13 \n"
                                            "l1 1 0 2.85714e-08 \n"
                                            ".end \n"));
    EXPECT_FALSE(run.stderrText.contains(kNoModel));
}

TEST_F(NetlistBatchTest, WithoutABeamNoFileIsWrittenAndTheRunFails)
{
    const Outcome run = program.run({"--document", blockDocument(false), "--list", harmlessList(), "--output", output,
                                     "--netlist", netlist});
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.stderrText.contains(kNoModel)) << run.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(netlist));
    // The steps ran and the document is still written.
    EXPECT_EQ(run.stdoutLines.size(), 1);
    EXPECT_TRUE(QFile::exists(output));
}

// The example: silicon 48 × 16 × 4, 2 layers of CVD oxide, the anchor opened through resist at
// x < 8, 4 cells of CVD poly-silicon planarized to z < 7, the beam patterned (x 8..30, y 6..10)
// by RIE of the top poly layer, and the oxide etched away. Left: an anchor of poly-silicon
// (x < 8, z 4..6) and a free beam 22 × 4 × 1 at z = 6.
TEST_F(NetlistBatchTest, CantileverExampleBuildsAReleasedBeamAndItsNetlist)
{
    const Outcome run = program.run({"--list", example("cantilever.plst"), "--output", output, "--netlist", netlist});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    ASSERT_EQ(run.stdoutLines.size(), 13);

    const VolumeCells cells = BatchProgram::readDocument(output).value(0);
    ASSERT_EQ(cells.sizeX, 48u);
    for (uint32_t x = 0; x < cells.sizeX; ++x)
        for (uint32_t y = 0; y < cells.sizeY; ++y) {
            const bool anchor = x < 8;
            const bool beam = x >= 8 && x < 30 && y >= 6 && y < 10;
            ASSERT_EQ(cells.countInColumn(x, y, kSilicon), 4u) << x << "," << y;
            ASSERT_EQ(cells.countInColumn(x, y, kOxide), 0u) << x << "," << y;
            ASSERT_EQ(cells.countInColumn(x, y, kPolySilicon), anchor ? 3u : beam ? 1u : 0u) << x << "," << y;
            if (beam) {
                ASSERT_EQ(cells.at(x, y, 6), kPolySilicon) << x << "," << y;
            }
        }

    // Poly-Si from the catalogue: 2329 kg/m³, 1.88e11 Pa. 88 cells × 2.00129819772e-17 × 2329 ×
    // 33/140 = 9.668294465e-13 kg; k = 3 × 1.88e11 × (1³ · 4 / 12) / 22³ = 1.88e11 / 10648, so
    // 1/k = 5.663829787e-8.
    const QByteArray expected("Model extracted by Voxfab\n"
                              "c1 1 0 9.66829e-13 \n"
                              "l1 1 0 5.66383e-08 \n"
                              ".end \n");
    EXPECT_EQ(readFile(netlist), expected);
    // The netlist shipped beside the example is the one the example gives.
    EXPECT_EQ(readFile(example("cantilever.cir")), expected);
}
