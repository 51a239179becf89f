// voxfab-batch oxidising documents the test writes, by time and to a thickness; the oxide
// counts come from Deal and Grove's dry-oxygen thickness and the split of an oxide into
// 0.56 of its thickness above the old surface and 0.44 below it.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"
#include "Engine/StepRunner.h"

#include "common/Cells.h"

#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::kAluminium;
using BatchTest::kOxide;
using BatchTest::kSilicon;

namespace {

const QString kSucceeded = QStringLiteral("No error, process was run successfully.");

// Silicon below z = 20 in unit cells; aluminium on it at z = 20 for x < coveredBelowX.
std::shared_ptr<Model::Automaton::TotalVolume> wafer(uint32_t coveredBelowX = 0)
{
    return TestSupport::volumeOf(12, 4, 40, [coveredBelowX](uint32_t x, uint32_t, uint32_t z) {
        if (z < 20)
            return kSilicon;
        return z == 20 && x < coveredBelowX ? kAluminium : 0u;
    });
}

} // namespace

TEST(OxidationBatch, OneHourAt1100CelsiusGrowsTheDryOxideOfTheLaw)
{
    BatchProgram program;
    const QString input = program.writeDocument("wafer.vxf", {wafer()});
    const QString output = program.path("out.vxf");
    // 0.130 µm at 100 units per micron: D = 13, so 7.28 above the surface and 5.72 below it.
    // Cells stand 1.5, 2.5, … above and 0.5, 1.5, … below: 6 cells each way.
    const QString list = program.writeList("oxidise.plst", {BatchTest::oxidationByTime(100.0, 1.0, 1373.15, 1.0)});

    const Outcome outcome = program.run({"--list", list, "--output", output, "--document", input});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines, QStringList{QStringLiteral("Step 1: Si Oxidation: ") + kSucceeded});
    const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
    ASSERT_EQ(volumes.size(), 1);
    for (uint32_t x = 0; x < 12; ++x)
        for (uint32_t y = 0; y < 4; ++y) {
            ASSERT_EQ(volumes[0].countInColumn(x, y, kSilicon), 14u) << x << ", " << y;
            ASSERT_EQ(volumes[0].countInColumn(x, y, kOxide), 12u) << x << ", " << y;
            ASSERT_EQ(volumes[0].at(x, y, 14), kOxide);
            ASSERT_EQ(volumes[0].at(x, y, 25), kOxide);
        }
}

TEST(OxidationBatch, AThicknessGrowsBesideACoverButNotUnderIt)
{
    BatchProgram program;
    const QString input = program.writeDocument("covered.vxf", {wafer(6)});
    const QString output = program.path("out.vxf");
    // 0.08 µm at 50 units per micron: D = 4, so 2.24 above (1 cell) and 1.76 below (2 cells).
    const QString list = program.writeList("oxidise.plst", {BatchTest::oxidationToThickness(50.0, 0.08)});

    const Outcome outcome = program.run({"--list", list, "--output", output, "--document", input, "--threads", "3"});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const VolumeCells cells = BatchProgram::readDocument(output).value(0);
    ASSERT_EQ(cells.sizeX, 12u);
    for (uint32_t y = 0; y < 4; ++y) {
        for (uint32_t x = 0; x < 5; ++x) {
            EXPECT_EQ(cells.countInColumn(x, y, kSilicon), 20u) << x;
            EXPECT_EQ(cells.countInColumn(x, y, kOxide), 0u) << x;
            EXPECT_EQ(cells.at(x, y, 20), kAluminium) << x;
        }
        for (uint32_t x = 6; x < 12; ++x) {
            EXPECT_EQ(cells.countInColumn(x, y, kSilicon), 18u) << x;
            for (uint32_t z = 18; z < 21; ++z)
                EXPECT_EQ(cells.at(x, y, z), kOxide) << x << ", " << z;
            EXPECT_EQ(cells.at(x, y, 21), 0u) << x;
        }
    }
}

TEST(OxidationBatch, BadValuesStopTheRunWithTheirMessage)
{
    BatchProgram program;
    const QString input = program.writeDocument("wafer.vxf", {wafer()});
    const QString output = program.path("out.vxf");
    const Engine::ProcessData good = BatchTest::oxidationByTime(100.0, 1.0, 1373.15, 1.0);
    Engine::ProcessData frozen = good;
    frozen.setProcessParameter(Engine::Parameters::kOxidationTemperature, -40.0);

    const Outcome missing = program.run({"--list", program.writeList("missing.plst",
                                                                     {BatchTest::without(good, "Oxidation Temperature")}),
                                         "--output", output, "--document", input});
    EXPECT_FALSE(missing.crashed);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.stdoutLines, QStringList{QStringLiteral("Step 1: Si Oxidation: ")
                                               + Engine::stepResultText(Engine::StepMissingParameter)});

    const Outcome invalid = program.run(
        {"--list", program.writeList("frozen.plst", {frozen}), "--output", output, "--document", input});
    EXPECT_FALSE(invalid.crashed);
    EXPECT_EQ(invalid.exitCode, 1);
    EXPECT_EQ(invalid.stdoutLines, QStringList{QStringLiteral("Step 1: Si Oxidation: ")
                                               + Engine::stepResultText(Engine::StepInvalidParameter)});
    EXPECT_TRUE(invalid.stderrText.contains("Oxidation Temperature")) << invalid.stderrText.toStdString();
}
