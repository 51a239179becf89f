// voxfab-batch running PVD, anisotropic etching, anisotropic deposition and simple RIE, one after
// the other, on a trench in a document the test writes; the cells of the written document are
// worked out by hand.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include "common/Cells.h"

#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::kAluminium;
using BatchTest::kOxide;
using BatchTest::kSilicon;

namespace {

const QString kSucceeded = QStringLiteral("No error, process was run successfully.");

} // namespace

TEST(DirectionalBatch, TrenchProfileAfterPvdEtchDepositionAndRie)
{
    // Silicon below z = 4, walls up to z = 10 outside the trench 5 ≤ x < 11, unit cells.
    auto trench = TestSupport::volumeOf(16, 4, 16, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 4 || ((x < 5 || x >= 11) && z < 10) ? kSilicon : 0u;
    });
    BatchProgram program;
    const QString input = program.writeDocument("trench.vxf", {trench});
    const QString output = program.path("out.vxf");
    const QString list = program.writeList(
        "directional.plst",
        {
            // Two cells on the tops and the trench floor; on the walls only beside the wall tops.
            BatchTest::pvd(kAluminium, 2.0, 0.5, 1),
            // One cell straight down from every exposed aluminium face.
            BatchTest::anisotropicEtching(kAluminium, 1.0, 0.0),
            // Two cells on horizontal faces, one on the walls.
            BatchTest::anisotropicDeposition(kOxide, 2.0, 0.5),
            // The top oxide cell of every column.
            BatchTest::simpleRie(kOxide, 1, 1),
        });

    const Outcome outcome = program.run({"--list", list, "--output", output, "--document", input});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    QStringList expectedLines;
    const QStringList names = {"PVD", "Anisotropic Etching", "Anisotropic Deposition", "Simple RIE"};
    for (int i = 0; i < names.size(); ++i)
        expectedLines << QStringLiteral("Step %1: %2: %3").arg(i + 1).arg(names[i], kSucceeded);
    EXPECT_EQ(outcome.stdoutLines, expectedLines);

    const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
    ASSERT_EQ(volumes.size(), 1);
    const VolumeCells &cells = volumes[0];
    // On a wall top: the wall, one aluminium cell left of two, one oxide cell left of two.
    EXPECT_EQ(cells.countInColumn(2, 1, kSilicon), 10u);
    EXPECT_EQ(cells.at(2, 1, 10), kAluminium);
    EXPECT_EQ(cells.at(2, 1, 11), kOxide);
    EXPECT_EQ(cells.at(2, 1, 12), 0u);
    // On the trench floor: the same stack four cells up.
    EXPECT_EQ(cells.countInColumn(7, 1, kSilicon), 4u);
    EXPECT_EQ(cells.at(7, 1, 4), kAluminium);
    EXPECT_EQ(cells.at(7, 1, 5), kOxide);
    EXPECT_EQ(cells.at(7, 1, 6), 0u);
    // On the wall at x = 5: one oxide cell wide, where PVD left no aluminium below the top.
    for (uint32_t z = 6; z < 10; ++z) {
        EXPECT_EQ(cells.at(5, 1, z), kOxide) << z;
        EXPECT_EQ(cells.at(6, 1, z), 0u) << z;
    }
    EXPECT_EQ(cells.countInColumn(5, 1, kAluminium), 1u);
}
