// voxfab-batch running doping and then ion implantation on a document the test writes; the
// cells of the written document are worked out by hand.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"
#include "Engine/StepRunner.h"

#include "common/Cells.h"

#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::kOxide;
using BatchTest::kSilicon;

namespace {

constexpr uint32_t kNDoped = 14;
constexpr uint32_t kPDoped = 15;
const QString kSucceeded = QStringLiteral("No error, process was run successfully.");

// Silicon below z = 8 in 8 × 3 × 12 unit cells, under an oxide cap at z = 8 over x < 3.
std::shared_ptr<Model::Automaton::TotalVolume> cappedSilicon()
{
    return TestSupport::volumeOf(8, 3, 12, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 8 ? kSilicon : z == 8 && x < 3 ? kOxide : 0u;
    });
}

// What a column holds from z = 0 up, by hand:
// Doping N to 2: the open columns' z = 6, 7; beside the cap (2, y, 7) at √2 from (3, y, 8).
// Implantation P at depth 4 ± (0.5 + 0.5) is k = 3, 4, 5: z = 3..5 in the open columns, z = 4..6
// under the cap (k = 1 is the oxide). Annealing over 1 adds one cell up and down through
// dopable cells, and the cells of the other column beside a source: the open columns' N-doped
// z = 7 is √2 or 2 from the nearest source, so it stays N.
std::vector<uint32_t> expectedColumn(uint32_t x)
{
    if (x >= 3)
        return {kSilicon, kSilicon, kPDoped, kPDoped, kPDoped, kPDoped, kPDoped, kNDoped, 0, 0, 0, 0};
    return {kSilicon, kSilicon, kSilicon, kPDoped, kPDoped, kPDoped, kPDoped, kPDoped, kOxide, 0, 0, 0};
}

struct DopingBatch : ::testing::Test {
    BatchProgram program;
    const QString document = program.writeDocument(QStringLiteral("capped.vxf"), {cappedSilicon()});
    const QString output = program.path(QStringLiteral("out.vxf"));
};

} // namespace

TEST_F(DopingBatch, DopingThenImplantationUnderAndBesideAnOxideCap)
{
    const QString list = program.writeList(
        QStringLiteral("doping.plst"),
        {BatchTest::doping(kNDoped, 2.f), BatchTest::ionImplantation(kPDoped, 4.f, 0.5f, 1.f)});
    for (const char *threads : {"1", "3"}) {
        const Outcome outcome
            = program.run({"--list", list, "--document", document, "--output", output, "--threads", threads});
        ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
        EXPECT_EQ(outcome.stdoutLines, (QStringList{QStringLiteral("Step 1: Doping: ") + kSucceeded,
                                                    QStringLiteral("Step 2: Ion Implantation: ") + kSucceeded}));

        const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
        ASSERT_EQ(volumes.size(), 1);
        for (uint32_t x = 0; x < 8; ++x)
            for (uint32_t y = 0; y < 3; ++y)
                for (uint32_t z = 0; z < 12; ++z)
                    ASSERT_EQ(volumes[0].at(x, y, z), expectedColumn(x)[z])
                        << x << "," << y << "," << z << " with " << threads << " threads";
    }
}

TEST_F(DopingBatch, AnImplantationWithoutItsSpreadStopsWithAMissingParameter)
{
    const QString list = program.writeList(
        QStringLiteral("broken.plst"),
        {BatchTest::doping(kNDoped, 1.f),
         BatchTest::without(BatchTest::ionImplantation(kPDoped, 2.f, 0.f, 0.f), QStringLiteral("Vertical Spread"))});
    const Outcome outcome = program.run({"--list", list, "--document", document, "--output", output});
    EXPECT_EQ(outcome.exitCode, 1);
    ASSERT_EQ(outcome.stdoutLines.size(), 2);
    EXPECT_EQ(outcome.stdoutLines[1],
              QStringLiteral("Step 2: Ion Implantation: ") + Engine::stepResultText(Engine::StepMissingParameter));
    EXPECT_TRUE(outcome.stderrText.contains("Vertical Spread")) << outcome.stderrText.toStdString();
    EXPECT_FALSE(outcome.crashed);
}
