// voxfab-batch etching an inverted pyramid through a square opening in an oxide mask on a (100)
// wafer; the written cells are compared with the {111} walls at atan √2 = 54.74° that stop it.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/StepRunner.h"

#include "common/Cells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace BlackBox;
using BatchTest::kOxide;
using BatchTest::kSilicon;

namespace {

constexpr uint32_t kSize = 40, kHeight = 24, kTop = 17, kOpening = 16;
constexpr uint32_t kEdge = (kSize - kOpening) / 2; // the opening spans kEdge ≤ x, y < kEdge + kOpening

Engine::ProcessData wetEtch(const QVariant &depth)
{
    Engine::ProcessData step(Engine::SiWetEtchingType);
    step.addProcessParameter(Engine::Parameters::kDepth, depth, true);
    return step;
}

std::shared_ptr<Model::Automaton::TotalVolume> maskedWafer()
{
    return TestSupport::volumeOf(kSize, kSize, kHeight, [](uint32_t x, uint32_t y, uint32_t z) {
        const bool inOpening = x >= kEdge && x < kEdge + kOpening && y >= kEdge && y < kEdge + kOpening;
        return z <= kTop ? kSilicon : (z == kTop + 1 && !inOpening ? kOxide : 0u);
    });
}

// Silicon cells of the column below the original surface z = kTop + 1 that are gone.
uint32_t depthOf(const VolumeCells &cells, uint32_t x, uint32_t y)
{
    return kTop + 1 - cells.countInColumn(x, y, kSilicon);
}

} // namespace

TEST(WetEtchBatch, ASquareOpeningEtchesAnInvertedPyramidWithHundredElevenWalls)
{
    BatchProgram program;
    const QString input = program.writeDocument("wafer.vxf", {maskedWafer()});
    const QString output = program.path("pit.vxf");
    // Far deeper than the opening allows: the pit stops on its own.
    const QString list = program.writeList("pit.plst", {wetEtch(20.0)});

    const Outcome outcome = program.run({"--list", list, "--output", output, "--document", input});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines,
              QStringList{QStringLiteral("Step 1: Si wet etching: ") + Engine::stepResultText(Engine::StepSucceeded)});
    const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
    ASSERT_EQ(volumes.size(), 1);
    const VolumeCells &cells = volumes[0];

    // Under the opening every column is as deep as the nearest edge allows: tan 54.74° = √2
    // times the distance from the opening's edge to the column's centre, within a cell.
    const double tanWall = std::sqrt(2.0);
    double worst = 0.0;
    for (uint32_t x = kEdge; x < kEdge + kOpening; ++x)
        for (uint32_t y = kEdge; y < kEdge + kOpening; ++y) {
            const double fromEdge = std::min({x - kEdge + 0.5, kEdge + kOpening - x - 0.5, y - kEdge + 0.5,
                                              kEdge + kOpening - y - 0.5});
            const double want = tanWall * fromEdge;
            worst = std::max(worst, std::abs(double(depthOf(cells, x, y)) - want));
        }
    EXPECT_LE(worst, 1.5);
    // The four columns round the apex, whose centres lie half a cell off it: (8 − ½) · √2 = 10.6.
    EXPECT_NEAR(depthOf(cells, kSize / 2, kSize / 2), (kOpening / 2.0 - 0.5) * tanWall, 1.0);
    EXPECT_NEAR(depthOf(cells, kSize / 2 - 1, kSize / 2 - 1), (kOpening / 2.0 - 0.5) * tanWall, 1.0);

    // The mask and everything under it stay, and nothing is left in the opening above the silicon.
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y) {
            const bool inOpening = x >= kEdge && x < kEdge + kOpening && y >= kEdge && y < kEdge + kOpening;
            if (!inOpening) {
                ASSERT_EQ(cells.countInColumn(x, y, kSilicon), kTop + 1) << x << ", " << y;
                ASSERT_EQ(cells.at(x, y, kTop + 1), kOxide) << x << ", " << y;
            }
        }
}

TEST(WetEtchBatch, AnUnreadableDepthStopsTheRunWithItsReason)
{
    BatchProgram program;
    const QString input = program.writeDocument("wafer.vxf", {maskedWafer()});
    const QString output = program.path("pit.vxf");
    const QString list = program.writeList("pit.plst", {wetEtch(QStringLiteral("deep"))});

    const Outcome outcome = program.run({"--list", list, "--output", output, "--document", input});

    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.stdoutLines, QStringList{QStringLiteral("Step 1: Si wet etching: ") +
                                               Engine::stepResultText(Engine::StepInvalidParameter)});
    EXPECT_TRUE(outcome.stderrText.contains(Engine::Parameters::kDepth)) << outcome.stderrText.toStdString();
}
