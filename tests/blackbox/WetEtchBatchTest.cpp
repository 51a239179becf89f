// voxfab-batch etching an inverted pyramid through a square opening in an oxide mask on a (100)
// wafer; the written cells are compared with the {111} walls at atan √2 = 54.74° that stop it.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"
#include "Engine/ProcessListFile.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/StepRunner.h"

#include "common/Cells.h"

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace BlackBox;
using BatchTest::kOxide;
using BatchTest::kSilicon;

namespace {

constexpr uint32_t kSize = 40, kHeight = 24, kTop = 17, kOpening = 16;
constexpr uint32_t kEdge = (kSize - kOpening) / 2; // the opening spans kEdge ≤ x, y < kEdge + kOpening
// How far a column's depth in whole cells may lie from the law: a wall crosses the column at a
// slant and its atoms sit in steps of a (100) layer, so the last cell of a column goes early on
// one side of a pit and late on the other.
constexpr double kCellReading = 1.5;

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

    // Under the opening every column is as deep as the nearest edge allows: tan 54.74° = √2 times
    // the distance from the opening's edge to the column's nearer side (a cell holds silicon
    // while one atom of it remains, so a column reads about as deep as its shallowest part).
    const double tanWall = std::sqrt(2.0);
    double worst = 0.0;
    for (uint32_t x = kEdge; x < kEdge + kOpening; ++x)
        for (uint32_t y = kEdge; y < kEdge + kOpening; ++y) {
            const uint32_t fromEdge = std::min({x - kEdge, kEdge + kOpening - 1 - x, y - kEdge, kEdge + kOpening - 1 - y});
            worst = std::max(worst, std::abs(double(depthOf(cells, x, y)) - tanWall * fromEdge));
        }
    EXPECT_LE(worst, kCellReading);
    // The four columns round the apex: 7 · √2 = 9.9 cells down.
    for (uint32_t x : {kSize / 2 - 1, kSize / 2})
        for (uint32_t y : {kSize / 2 - 1, kSize / 2})
            EXPECT_NEAR(depthOf(cells, x, y), 7 * tanWall, kCellReading) << x << ", " << y;

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

// The example of the README: a 40-cell square and a 44 × 16 slot in the mask over silicon up to
// z = 31 give a pyramid 20 · √2 = 28.3 deep and a V-groove 8 · √2 = 11.3 deep. Only its etching
// step runs here; its "Save Image" step needs a display.
TEST(WetEtchBatch, TheExampleEtchesAPyramidAndAVGroove)
{
    const QDir examples(QStringLiteral(VOXFAB_EXAMPLES_DIR));
    QList<Engine::ProcessData> steps;
    Engine::ProcessListFile file;
    ASSERT_TRUE(file.read(examples.filePath(QStringLiteral("wet-etch-pyramid.plst")), steps));
    ASSERT_EQ(steps.size(), 2);
    ASSERT_EQ(steps[0].processType(), uint32_t(Engine::SiWetEtchingType));
    ASSERT_EQ(steps[1].processType(), uint32_t(Engine::SaveImageType));

    BatchProgram program;
    const QString output = program.path("pits.vxf");
    const Outcome outcome = program.run({"--list", program.writeList("etch.plst", {steps[0]}), "--output", output,
                                         "--document", examples.filePath(QStringLiteral("wet-etch-wafer.vxf"))});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
    ASSERT_EQ(volumes.size(), 1);
    const VolumeCells &cells = volumes[0];
    constexpr uint32_t kSurface = 32;
    auto depth = [&](uint32_t x, uint32_t y) { return double(kSurface - cells.countInColumn(x, y, kSilicon)); };
    const double tanWall = std::sqrt(2.0);
    // Read as the pit above: √2 times the distance of a column's nearer side from the opening's
    // edge. Next to the pyramid's apex (x 10–49, y 20–59): 19 · √2 = 26.9.
    for (uint32_t x : {29u, 30u})
        for (uint32_t y : {39u, 40u})
            EXPECT_NEAR(depth(x, y), 19 * tanWall, kCellReading) << x << ", " << y;
    // Along the groove's middle (x 66–109, y 32–47): 7 · √2 = 9.9, and its ends are {111} walls too.
    for (uint32_t x = 76; x < 100; ++x)
        EXPECT_NEAR(depth(x, 39), 7 * tanWall, kCellReading) << x;
    EXPECT_NEAR(depth(68, 39), 2 * tanWall, kCellReading);
    EXPECT_NEAR(depth(107, 40), 2 * tanWall, kCellReading);
}
