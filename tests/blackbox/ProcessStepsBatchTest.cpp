// voxfab-batch running each family of process steps on documents and lists the test writes; the
// cells of the written documents are worked out by hand or from the physical law of the step:
// film thicknesses, Deal and Grove's oxide, the {111} walls at 54.74° of a wet etch.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"
#include "Engine/ProcessListFile.h"
#include "Engine/StepRunner.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace BlackBox;
using namespace BatchTest;
using Model::Automaton::TotalVolume;

namespace {

// Runs `steps` on a document holding `volume`, expects every step to succeed under the names
// `names`, and gives the cells of the written document's only volume.
VolumeCells runOn(const BatchProgram &program, const std::shared_ptr<TotalVolume> &volume,
                  const QList<Engine::ProcessData> &steps, const QStringList &names, const QStringList &more = {})
{
    const Outcome outcome = program.runSteps(steps, program.writeDocument("in.vxf", {volume}), more);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines, succeededLines(names));
    const QList<VolumeCells> volumes = BatchProgram::readDocument(program.output());
    EXPECT_EQ(volumes.size(), 1);
    return volumes.value(0);
}

} // namespace

TEST(ProcessStepsBatch, TrenchProfileAfterPvdEtchDepositionAndRie)
{
    // Silicon below z = 4, walls up to z = 10 outside the trench 5 ≤ x < 11, unit cells.
    auto trench = TestSupport::volumeOf(16, 4, 16, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 4 || ((x < 5 || x >= 11) && z < 10) ? kSilicon : 0u;
    });
    BatchProgram program;
    const VolumeCells cells = runOn(program, trench,
                                    {
                                        // Two cells on the tops and the trench floor; on the walls only beside the wall tops.
                                        pvd(kAluminium, 2.0, 0.5, 1),
                                        // One cell straight down from every exposed aluminium face.
                                        anisotropicEtching(kAluminium, 1.0, 0.0),
                                        // Two cells on horizontal faces, one on the walls.
                                        anisotropicDeposition(kOxide, 2.0, 0.5),
                                        // The top oxide cell of every column.
                                        simpleRie(kOxide, 1, 1),
                                    },
                                    {"PVD", "Anisotropic Etching", "Anisotropic Deposition", "Simple RIE"});
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

TEST(ProcessStepsBatch, AFilmStackIsGrownEtchedCoatedAndLevelled)
{
    // Silicon below z = 4; 3 oxide layers, 1 etched back; resist poured to z = 10; then
    // everything at z ≥ 9 and below z = 1 cut away.
    constexpr uint32_t kResist = 12;
    BatchProgram program;
    const Outcome outcome = program.runSteps({boxSubstrate(12, 12, 16, 4, kSilicon), mooreDeposition(kOxide, 3),
                                              mooreEtching(kOxide, 1), pour(kResist, 10), planarization(9, 1)});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines, succeededLines({"Create Substrate", "Moore deposition", "Moore etching",
                                                   "Spin Coating", "Planarization"}));
    const VolumeCells cells = program.outputCells();
    ASSERT_EQ(cells.sizeZ, 16u);
    const std::vector<uint32_t> column{0, kSilicon, kSilicon, kSilicon, kOxide, kOxide, kResist, kResist, kResist,
                                       0, 0, 0, 0, 0, 0, 0};
    for (uint32_t x = 0; x < 12; ++x)
        for (uint32_t y = 0; y < 12; ++y)
            for (uint32_t z = 0; z < 16; ++z)
                ASSERT_EQ(cells.at(x, y, z), column[z]) << x << "," << y << "," << z;
}

TEST(ProcessStepsBatch, MooreDepositionOnAMesaHasSquareCornersForAnyThreadCount)
{
    // A silicon mesa [3, 7) × [3, 7) × [0, 3) in a 10 × 10 × 10 volume: two layers fill every
    // empty cell within chessboard distance 2 of it, that is [1, 9) × [1, 9) × [0, 5).
    auto inBox = [](uint32_t x, uint32_t y, uint32_t z, uint32_t low, uint32_t high, uint32_t top) {
        return x >= low && x < high && y >= low && y < high && z < top;
    };
    auto mesa = TestSupport::volumeOf(10, 10, 10, [&](uint32_t x, uint32_t y, uint32_t z) {
        return inBox(x, y, z, 3, 7, 3) ? kSilicon : 0u;
    });
    BatchProgram program;
    for (const char *threads : {"1", "3"}) {
        const VolumeCells cells = runOn(program, mesa, {mooreDeposition(kOxide, 2)}, {"Moore deposition"},
                                        {"--threads", threads});
        for (uint32_t x = 0; x < 10; ++x)
            for (uint32_t y = 0; y < 10; ++y)
                for (uint32_t z = 0; z < 10; ++z)
                    ASSERT_EQ(cells.at(x, y, z), inBox(x, y, z, 3, 7, 3)   ? kSilicon
                                                 : inBox(x, y, z, 1, 9, 5) ? kOxide
                                                                           : 0u)
                        << x << "," << y << "," << z << " with " << threads << " threads";
    }
}

TEST(ProcessStepsBatch, DopingThenImplantationUnderAndBesideAnOxideCap)
{
    // Silicon below z = 8 in 8 × 3 × 12 unit cells, under an oxide cap at z = 8 over x < 3.
    auto capped = TestSupport::volumeOf(8, 3, 12, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 8 ? kSilicon : z == 8 && x < 3 ? kOxide : 0u;
    });
    // What a column holds from z = 0 up, by hand:
    // Doping N to 2: the open columns' z = 6, 7; beside the cap (2, y, 7) at √2 from (3, y, 8).
    // Implantation P at depth 4 ± (0.5 + 0.5) is k = 3, 4, 5: z = 3..5 in the open columns, z = 4..6
    // under the cap (k = 1 is the oxide). Annealing over 1 adds one cell up and down through
    // dopable cells, and the cells of the other column beside a source: the open columns' N-doped
    // z = 7 is √2 or 2 from the nearest source, so it stays N.
    const std::vector<uint32_t> open{kSilicon, kSilicon, kPDoped, kPDoped, kPDoped, kPDoped, kPDoped, kNDoped, 0, 0, 0, 0};
    const std::vector<uint32_t> covered{kSilicon, kSilicon, kSilicon, kPDoped, kPDoped, kPDoped,
                                        kPDoped,  kPDoped,  kOxide,   0,       0,       0};
    BatchProgram program;
    for (const char *threads : {"1", "3"}) {
        const VolumeCells cells = runOn(program, capped, {doping(kNDoped, 2.f), ionImplantation(kPDoped, 4.f, 0.5f, 1.f)},
                                        {"Doping", "Ion Implantation"}, {"--threads", threads});
        for (uint32_t x = 0; x < 8; ++x)
            for (uint32_t y = 0; y < 3; ++y)
                for (uint32_t z = 0; z < 12; ++z)
                    ASSERT_EQ(cells.at(x, y, z), (x >= 3 ? open : covered)[z])
                        << x << "," << y << "," << z << " with " << threads << " threads";
    }
}

// The oxide counts come from Deal and Grove's dry-oxygen thickness and the split of an oxide into
// 0.56 of its thickness above the old surface and 0.44 below it.
TEST(ProcessStepsBatch, OxidationByTimeGrowsTheDryOxideOfTheLawAndToAThicknessSparesACover)
{
    // Silicon below z = 20 in unit cells; aluminium on it at z = 20 for x < coveredBelowX.
    auto wafer = [](uint32_t coveredBelowX) {
        return TestSupport::volumeOf(12, 4, 40, [coveredBelowX](uint32_t x, uint32_t, uint32_t z) {
            return z < 20 ? kSilicon : z == 20 && x < coveredBelowX ? kAluminium : 0u;
        });
    };
    BatchProgram program;
    // One hour at 1100 °C: 0.130 µm at 100 units per micron, D = 13, so 7.28 above the surface and
    // 5.72 below it. Cells stand 1.5, 2.5, … above and 0.5, 1.5, … below: 6 cells each way.
    VolumeCells cells = runOn(program, wafer(0), {oxidationByTime(100.0, 1.0, 1373.15, 1.0)}, {"Si Oxidation"});
    for (uint32_t x = 0; x < 12; ++x)
        for (uint32_t y = 0; y < 4; ++y) {
            ASSERT_EQ(cells.countInColumn(x, y, kSilicon), 14u) << x << ", " << y;
            ASSERT_EQ(cells.countInColumn(x, y, kOxide), 12u) << x << ", " << y;
            ASSERT_EQ(cells.at(x, y, 14), kOxide);
            ASSERT_EQ(cells.at(x, y, 25), kOxide);
        }

    // 0.08 µm at 50 units per micron: D = 4, so 2.24 above (1 cell) and 1.76 below (2 cells);
    // nothing under the aluminium.
    cells = runOn(program, wafer(6), {oxidationToThickness(50.0, 0.08)}, {"Si Oxidation"}, {"--threads", "3"});
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

// --- Silicon wet etching: the (100) layers and the {111} walls at atan √2 = 54.74° that stop it

namespace {

// How far a column's depth in whole cells may lie from the law: a wall crosses the column at a
// slant and its atoms sit in steps of a (100) layer, so the last cell of a column goes early on
// one side of a pit and late on the other.
constexpr double kCellReading = 1.5;
const double kTanWall = std::sqrt(2.0);

} // namespace

TEST(ProcessStepsBatch, ContinuousWetEtchOfDepthFiveTakesTenHundredLayers)
{
    BatchProgram program;
    const VolumeCells cells = runOn(program, flatVolume(10, 10, 14, 10),
                                    {wetEtch(5.0, Engine::SiWetEtchingCcaType)}, {"Si wet etching (CCA)"});
    // Twenty steps, ten (100) layers of 0.35 units: the top layer at 9.8 goes down to 6.3, so
    // cells 7 to 9 empty and cell 6 keeps its atoms. The volume's sides count as bonded and hold
    // {111} slopes, so only the middle columns are flat.
    ASSERT_EQ(cells.sizeZ, 14u);
    for (uint32_t x = 3; x < 7; ++x)
        for (uint32_t y = 3; y < 7; ++y) {
            EXPECT_EQ(cells.countInColumn(x, y, kSilicon), 7u) << x << ", " << y;
            EXPECT_EQ(cells.at(x, y, 6), kSilicon);
        }
}

TEST(ProcessStepsBatch, ASquareOpeningEtchesAnInvertedPyramidWithHundredElevenWalls)
{
    constexpr uint32_t kSize = 40, kHeight = 24, kTop = 17, kOpening = 16;
    constexpr uint32_t kEdge = (kSize - kOpening) / 2; // the opening spans kEdge ≤ x, y < kEdge + kOpening
    auto inOpening = [](uint32_t x, uint32_t y) {
        return x >= kEdge && x < kEdge + kOpening && y >= kEdge && y < kEdge + kOpening;
    };
    auto wafer = TestSupport::volumeOf(kSize, kSize, kHeight, [&](uint32_t x, uint32_t y, uint32_t z) {
        return z <= kTop ? kSilicon : (z == kTop + 1 && !inOpening(x, y) ? kOxide : 0u);
    });
    BatchProgram program;
    // Far deeper than the opening allows: the pit stops on its own.
    const VolumeCells cells = runOn(program, wafer, {wetEtch(20.0)}, {"Si wet etching"});
    auto depth = [&](uint32_t x, uint32_t y) { return double(kTop + 1 - cells.countInColumn(x, y, kSilicon)); };

    // Under the opening every column is as deep as the nearest edge allows: tan 54.74° = √2 times
    // the distance from the opening's edge to the column's nearer side (a cell holds silicon
    // while one atom of it remains, so a column reads about as deep as its shallowest part).
    double worst = 0.0;
    for (uint32_t x = kEdge; x < kEdge + kOpening; ++x)
        for (uint32_t y = kEdge; y < kEdge + kOpening; ++y) {
            const uint32_t fromEdge = std::min({x - kEdge, kEdge + kOpening - 1 - x, y - kEdge, kEdge + kOpening - 1 - y});
            worst = std::max(worst, std::abs(depth(x, y) - kTanWall * fromEdge));
        }
    EXPECT_LE(worst, kCellReading);
    // The four columns round the apex: 7 · √2 = 9.9 cells down.
    for (uint32_t x : {kSize / 2 - 1, kSize / 2})
        for (uint32_t y : {kSize / 2 - 1, kSize / 2})
            EXPECT_NEAR(depth(x, y), 7 * kTanWall, kCellReading) << x << ", " << y;
    // The mask and everything under it stay.
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y)
            if (!inOpening(x, y)) {
                ASSERT_EQ(cells.countInColumn(x, y, kSilicon), kTop + 1) << x << ", " << y;
                ASSERT_EQ(cells.at(x, y, kTop + 1), kOxide) << x << ", " << y;
            }
}

// The example of the README: a 40-cell square and a 44 × 16 slot in the mask over silicon up to
// z = 31 give a pyramid 20 · √2 = 28.3 deep and a V-groove 8 · √2 = 11.3 deep. Only its etching
// step runs here; its "Save Image" step needs a display.
TEST(ProcessStepsBatch, TheWetEtchExampleEtchesAPyramidAndAVGroove)
{
    const QDir examples(QStringLiteral(VOXFAB_EXAMPLES_DIR));
    QList<Engine::ProcessData> steps;
    Engine::ProcessListFile file;
    ASSERT_TRUE(file.read(examples.filePath(QStringLiteral("wet-etch-pyramid.plst")), steps));
    ASSERT_EQ(steps.size(), 2);
    ASSERT_EQ(steps[0].processType(), uint32_t(Engine::SiWetEtchingType));

    BatchProgram program;
    const Outcome outcome = program.runSteps({steps[0]}, examples.filePath(QStringLiteral("wet-etch-wafer.vxf")));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const VolumeCells cells = program.outputCells();
    auto depth = [&](uint32_t x, uint32_t y) { return double(32 - cells.countInColumn(x, y, kSilicon)); };
    // Read as the pit above. Next to the pyramid's apex (x 10–49, y 20–59): 19 · √2 = 26.9.
    for (uint32_t x : {29u, 30u})
        for (uint32_t y : {39u, 40u})
            EXPECT_NEAR(depth(x, y), 19 * kTanWall, kCellReading) << x << ", " << y;
    // Along the groove's middle (x 66–109, y 32–47): 7 · √2 = 9.9, and its ends are {111} walls too.
    for (uint32_t x = 76; x < 100; ++x)
        EXPECT_NEAR(depth(x, 39), 7 * kTanWall, kCellReading) << x;
    EXPECT_NEAR(depth(68, 39), 2 * kTanWall, kCellReading);
    EXPECT_NEAR(depth(107, 40), 2 * kTanWall, kCellReading);
}

// --- A step that cannot run stops the run with its reason: the steps after it do not run, and
// the document holds what the steps before it did

TEST(ProcessStepsBatch, AStepThatCannotRunStopsWithItsReasonAndKeepsTheStepsBefore)
{
    const auto missing = Engine::stepResultText(Engine::StepMissingParameter);
    const auto invalid = Engine::stepResultText(Engine::StepInvalidParameter);
    const struct {
        Engine::ProcessData step;
        QString line;
        QString reason;
    } cases[] = {
        {without(ionImplantation(kPDoped, 2.f, 0.f, 0.f), P::kVerticalSpread), "Ion Implantation: " + missing,
         P::kVerticalSpread},
        {without(oxidationByTime(100.0, 1.0, 1373.15, 1.0), P::kOxidationTemperature), "Si Oxidation: " + missing,
         P::kOxidationTemperature},
        {with(oxidationByTime(100.0, 1.0, 1373.15, 1.0), P::kOxidationTemperature, -40.0), "Si Oxidation: " + invalid,
         P::kOxidationTemperature},
        {wetEtch("deep"), "Si wet etching: " + invalid, P::kDepth},
        {Engine::ProcessData(Engine::SiWetEtchingCcaType), "Si wet etching (CCA): " + missing, P::kDepth},
        {randomWalkDoping(kNDoped, 100.0, 0.2), "Doping (Random Walk CA): " + invalid,
         "A time step of at most 0.166666 s is stable."},
    };
    BatchProgram program;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        QFile::remove(program.output());
        const Outcome outcome = program.runSteps({boxSubstrate(4, 4, 30, 20), c.step, deposition(kOxide, 2.0)});
        EXPECT_FALSE(outcome.crashed);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.stdoutLines, succeededLines({"Create Substrate"}) << "Step 2: " + c.line);
        EXPECT_TRUE(outcome.stderrText.contains(c.reason)) << outcome.stderrText.toStdString();
        EXPECT_EQ(program.outputCells(), cellsOf(*flatVolume(4, 4, 30, 20)));
    }
}
