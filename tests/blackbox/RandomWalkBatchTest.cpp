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
        output = program.output();
        csv = program.path("counts.csv");
    }
    Outcome run(const QList<Engine::ProcessData> &steps, const QStringList &more = {})
    {
        return program.runSteps(steps, input, more);
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

// --export-data needs a volume with a field, and --data-field a name it holds when it has several;
// a refused export writes no file, yet the document is written all the same.
TEST(RandomWalkBatch, ExportNeedsAFieldAndWithSeveralANameThatExists)
{
    const QList<Engine::ProcessData> both{BatchTest::randomWalkDoping(kNDoped, 1.0),
                                          BatchTest::randomWalkDoping(kPDoped, 1.0)};
    const struct {
        QList<Engine::ProcessData> steps;
        QStringList more;
        QString message;
    } cases[] = {
        {{BatchTest::deposition(BatchTest::kOxide, 1.0)}, {}, "holds no particle count field"},
        {both, {}, "--data-field NAME: it holds \"" + kNField + "\", \"" + kPField + "\""},
        {both, {"--data-field", "Type Q"}, "no particle count field \"Type Q\"; it holds \"" + kNField},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        ColumnRun run;
        const Outcome outcome = run.run(c.steps, QStringList{"--export-data", run.csv} + c.more);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.stderrText.contains(c.message)) << outcome.stderrText.toStdString();
        EXPECT_FALSE(QFileInfo::exists(run.csv));
        EXPECT_TRUE(QFileInfo::exists(run.output));
    }
    ColumnRun run;
    const Outcome outcome = run.run(both, {"--export-data", run.csv, "--data-field", kPField});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const std::vector<double> values = csvValues(readFile(run.csv));
    ASSERT_EQ(values.size(), kDepth + 1);
    EXPECT_EQ(values[kDepth - 1], 99999.0);
}
