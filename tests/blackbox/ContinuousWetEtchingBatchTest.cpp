// voxfab-batch running the continuous (CCA) wet etch, process type 20, on a silicon wafer the
// test writes; the etched depth follows from the rate table's two steps per (100) layer.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"
#include "Engine/StepRunner.h"

#include "common/Cells.h"

#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::kSilicon;

TEST(ContinuousWetEtchingBatch, DepthFiveTakesTenHundredLayers)
{
    BatchProgram program;
    const QString input = program.writeDocument("wafer.vxf", {TestSupport::flatVolume(10, 10, 14, 10, kSilicon)});
    const QString output = program.path("out.vxf");
    Engine::ProcessData etch(Engine::SiWetEtchingCcaType);
    etch.addProcessParameter(QStringLiteral("Depth"), 5.0, true);
    const QString list = program.writeList("etch.plst", {etch});

    const Outcome outcome = program.run({"--list", list, "--output", output, "--document", input});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines,
              QStringList{QStringLiteral("Step 1: Si wet etching (CCA): No error, process was run successfully.")});
    // Twenty steps, ten (100) layers of 0.35 units: the top layer at 9.8 goes down to 6.3, so
    // cells 7 to 9 empty and cell 6 keeps its atoms. The volume's sides count as bonded and hold
    // {111} slopes, so only the middle columns are flat.
    const VolumeCells cells = BatchProgram::readDocument(output).value(0);
    ASSERT_EQ(cells.sizeZ, 14u);
    for (uint32_t x = 3; x < 7; ++x)
        for (uint32_t y = 3; y < 7; ++y) {
            EXPECT_EQ(cells.countInColumn(x, y, kSilicon), 7u) << x << ", " << y;
            EXPECT_EQ(cells.at(x, y, 6), kSilicon);
        }

    Engine::ProcessData noDepth(Engine::SiWetEtchingCcaType);
    const Outcome missing = program.run(
        {"--list", program.writeList("bad.plst", {noDepth}), "--output", output, "--document", input});
    EXPECT_FALSE(missing.crashed);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.stdoutLines, QStringList{QStringLiteral("Step 1: Si wet etching (CCA): ")
                                               + Engine::stepResultText(Engine::StepMissingParameter)});
}
