// voxfab-batch running Moore deposition and etching, "Pour Material" and planarization from lists
// the test writes, checked against cells worked out by hand.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include "common/Cells.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace BlackBox;
using namespace BatchTest;

namespace {

constexpr uint32_t kResist = 12;
const QString kSucceeded = QStringLiteral("No error, process was run successfully.");

struct MooreAndSliceBatch : ::testing::Test {
    BatchProgram program;
    const QString output = program.path(QStringLiteral("out.vxf"));
};

} // namespace

TEST_F(MooreAndSliceBatch, AFilmStackIsGrownEtchedCoatedAndLevelled)
{
    // Silicon below z = 4; 3 oxide layers, 1 etched back; resist poured to z = 10; then
    // everything at z ≥ 9 and below z = 1 cut away.
    const QList<Engine::ProcessData> steps{boxSubstrate(12, 12, 16, 4, kSilicon), mooreDeposition(kOxide, 3),
                                           mooreEtching(kOxide, 1), pour(kResist, 10), planarization(9, 1)};
    const Outcome outcome = program.run({"--list", program.writeList("stack.plst", steps), "--output", output});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const QStringList names{"Create Substrate", "Moore deposition", "Moore etching", "Spin Coating", "Planarization"};
    ASSERT_EQ(outcome.stdoutLines.size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(outcome.stdoutLines[i], QStringLiteral("Step %1: %2: %3").arg(i + 1).arg(names[i], kSucceeded));
    const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
    ASSERT_EQ(volumes.size(), 1);
    const std::vector<uint32_t> column{0, kSilicon, kSilicon, kSilicon, kOxide, kOxide, kResist, kResist, kResist,
                                       0, 0, 0, 0, 0, 0, 0};
    for (uint32_t x = 0; x < 12; ++x)
        for (uint32_t y = 0; y < 12; ++y)
            for (uint32_t z = 0; z < 16; ++z)
                ASSERT_EQ(volumes[0].at(x, y, z), column[z]) << x << "," << y << "," << z;
}

TEST_F(MooreAndSliceBatch, MooreDepositionOnAMesaHasSquareCornersForAnyThreadCount)
{
    // A silicon mesa [3, 7) × [3, 7) × [0, 3) in a 10 × 10 × 10 volume: two layers fill every
    // empty cell within chessboard distance 2 of it, that is [1, 9) × [1, 9) × [0, 5).
    auto mesa = TestSupport::volumeOf(10, 10, 10, [](uint32_t x, uint32_t y, uint32_t z) {
        return x >= 3 && x < 7 && y >= 3 && y < 7 && z < 3 ? kSilicon : 0u;
    });
    const QString document = program.writeDocument("mesa.vxf", {mesa});
    const QString list = program.writeList("moore.plst", {mooreDeposition(kOxide, 2)});
    for (const char *threads : {"1", "3"}) {
        const Outcome outcome
            = program.run({"--list", list, "--document", document, "--output", output, "--threads", threads});
        ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
        const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
        ASSERT_EQ(volumes.size(), 1);
        for (uint32_t x = 0; x < 10; ++x)
            for (uint32_t y = 0; y < 10; ++y)
                for (uint32_t z = 0; z < 10; ++z) {
                    const bool inMesa = x >= 3 && x < 7 && y >= 3 && y < 7 && z < 3;
                    const bool inFilm = x >= 1 && x < 9 && y >= 1 && y < 9 && z < 5;
                    ASSERT_EQ(volumes[0].at(x, y, z), inMesa ? kSilicon : inFilm ? kOxide : 0u)
                        << x << "," << y << "," << z << " with " << threads << " threads";
                }
    }
}
