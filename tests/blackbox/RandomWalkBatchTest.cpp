// voxfab-batch running random-walk doping on a silicon column and exporting the particle count
// field with --export-data; the doped depth and the counts follow Cs·erfc(x / (2√(Dt))).

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include "common/Cells.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::kSilicon;

namespace {

constexpr uint32_t kNDoped = 14;
constexpr uint32_t kPDoped = 15;
constexpr uint32_t kDepth = 60;
const QString kNField = QStringLiteral("Random Walk Particle Count Type N");
const QString kPField = QStringLiteral("Random Walk Particle Count Type P");

struct ColumnRun {
    BatchProgram program;
    QString input;
    QString output;
    QString csv;

    ColumnRun()
    {
        input = program.writeDocument("column.vxf", {TestSupport::flatVolume(1, 1, kDepth + 1, kDepth, kSilicon)});
        output = program.path("out.vxf");
        csv = program.path("counts.csv");
    }
    Outcome run(const QList<Engine::ProcessData> &steps, const QStringList &more = {})
    {
        const QString list = program.writeList("walk.plst", steps);
        return program.run(QStringList{"--list", list, "--output", output, "--document", input} + more);
    }
};

// The values of the lines of one slice of a CSV export.
std::vector<double> csvValues(const QByteArray &text)
{
    std::vector<double> values;
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith("X: "))
            continue;
        for (const QByteArray &value : line.split(';'))
            if (!value.trimmed().isEmpty())
                values.push_back(value.trimmed().toDouble());
    }
    return values;
}

} // namespace

TEST(RandomWalkBatch, DopesTheErfcDepthAndTheExportFollowsTheProfile)
{
    ColumnRun run;
    const Outcome outcome = run.run({BatchTest::randomWalkDoping(kNDoped)}, {"--export-data", run.csv});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines,
              QStringList{"Step 1: Doping (Random Walk CA): No error, process was run successfully."});

    const QList<VolumeCells> volumes = BatchProgram::readDocument(run.output);
    ASSERT_EQ(volumes.size(), 1);
    // erfc(x / 20 cells) = 0.1 at x = 23.3 cells below the surface cell: 24 cells.
    EXPECT_EQ(volumes[0].countInColumn(0, 0, kNDoped), 24u);
    EXPECT_EQ(volumes[0].at(0, 0, kDepth - 1 - 23), kNDoped);
    EXPECT_EQ(volumes[0].at(0, 0, kDepth - 1 - 24), kSilicon);
    EXPECT_TRUE(readFile(run.output).contains("<ParticleCountField name=\"" + kNField.toUtf8() + "\""));

    const QByteArray text = readFile(run.csv);
    ASSERT_TRUE(text.startsWith("X: 0\n")) << text.left(200).toStdString();
    EXPECT_TRUE(text.endsWith(" ; 0.0000000000e+00 ; \n\n\n")) << "the empty cell at the top";
    const std::vector<double> values = csvValues(text);
    ASSERT_EQ(values.size(), kDepth + 1);
    EXPECT_EQ(values[kDepth - 1], 99999.0) << "the surface cell";
    for (uint32_t depth = 0; depth < 30; ++depth) {
        const double expected = 1e5 * std::erfc(depth / 20.0);
        EXPECT_NEAR(values[kDepth - 1 - depth], expected, 0.03 * std::max(expected, 1e4)) << depth;
    }
}

TEST(RandomWalkBatch, AnUnstableTimeStepStopsTheRunWithTheStableStep)
{
    ColumnRun run;
    const Outcome outcome = run.run({BatchTest::randomWalkDoping(kNDoped, 100.0, 0.2)});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.stdoutLines, QStringList{"Step 1: Doping (Random Walk CA): Value for a required parameter is "
                                               "invalid. Check input list."});
    EXPECT_TRUE(outcome.stderrText.contains("A time step of at most 0.166666 s is stable."))
        << outcome.stderrText.toStdString();
    const QList<VolumeCells> volumes = BatchProgram::readDocument(run.output);
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0].countInColumn(0, 0, kSilicon), kDepth);
}

TEST(RandomWalkBatch, ExportWithoutAFieldOrWithSeveralNeedsANameThatExists)
{
    {
        ColumnRun run;
        const Outcome outcome = run.run({BatchTest::deposition(BatchTest::kOxide, 1.0)}, {"--export-data", run.csv});
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.stderrText.contains("holds no particle count field")) << outcome.stderrText.toStdString();
        EXPECT_FALSE(QFileInfo::exists(run.csv));
        EXPECT_TRUE(QFileInfo::exists(run.output)) << "the document is written all the same";
    }
    const QList<Engine::ProcessData> both{BatchTest::randomWalkDoping(kNDoped, 1.0),
                                          BatchTest::randomWalkDoping(kPDoped, 1.0)};
    {
        ColumnRun run;
        const Outcome outcome = run.run(both, {"--export-data", run.csv});
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.stderrText.contains("--data-field NAME: it holds \"" + kNField + "\", \"" + kPField + "\""))
            << outcome.stderrText.toStdString();
        EXPECT_FALSE(QFileInfo::exists(run.csv));
    }
    {
        ColumnRun run;
        const Outcome outcome = run.run(both, {"--export-data", run.csv, "--data-field", "Type Q"});
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.stderrText.contains("no particle count field \"Type Q\"; it holds \"" + kNField))
            << outcome.stderrText.toStdString();
    }
    {
        ColumnRun run;
        const Outcome outcome = run.run(both, {"--export-data", run.csv, "--data-field", kPField});
        ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
        const std::vector<double> values = csvValues(readFile(run.csv));
        ASSERT_EQ(values.size(), kDepth + 1);
        EXPECT_EQ(values[kDepth - 1], 99999.0);
    }
}

TEST(RandomWalkBatch, DataFieldAloneIsAUsageError)
{
    ColumnRun run;
    const Outcome outcome = run.run({BatchTest::randomWalkDoping(kNDoped, 1.0)}, {"--data-field", kNField});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.stderrText.contains("give --export-data FILE.csv too")) << outcome.stderrText.toStdString();
    EXPECT_FALSE(QFileInfo::exists(run.output));
}
