// voxfab-batch run as a separate program: the cells of the documents it writes, its step lines,
// its exit statuses, and what it leaves behind when it refuses to run.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include "Engine/ProcessListFile.h"
#include "Engine/StepRunner.h"

#include "common/Cells.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::boxSubstrate;
using BatchTest::deposition;
using BatchTest::etching;
using BatchTest::kAluminium;
using BatchTest::kOxide;
using BatchTest::kSilicon;
using Model::Automaton::TotalVolume;

namespace {

const QString kMissingVolumeText = QStringLiteral("No cell volume was selected and a cell volume was not created. "
                                                  "The cell volume must be created before any other process.");

constexpr uint32_t kSide = 16;           // cells
constexpr uint32_t kHeight = 16;         // cells
constexpr uint32_t kSubstrateHeight = 6; // cells
constexpr double kFilm = 3.0;            // cell edges
constexpr double kEtch = 1.0;

QList<Engine::ProcessData> substrateDepositEtch()
{
    return {boxSubstrate(kSide, kSide, kHeight, kSubstrateHeight, kSilicon),
            deposition(kOxide, kFilm, Engine::CvdType), etching(kOxide, kEtch)};
}

struct BatchProgramTest : ::testing::Test {
    BatchProgram program;
    const QString output = program.path(QStringLiteral("out.vxf"));
};

} // namespace

// --- Runs that succeed

TEST_F(BatchProgramTest, SubstrateCvdAndEtchingGiveTheCellsOfTheBatchEngineForAnyThreadCount)
{
    const QList<Engine::ProcessData> steps = substrateDepositEtch();
    const QString list = program.writeList("steps.plst", steps);
    const QString three = program.path("three.vxf");
    const Outcome outcome = program.run({"--list", list, "--output", output, "--threads", "1"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines, succeededLines({"Create Substrate", "CVD", "Isotropic etching"}));
    ASSERT_EQ(program.run({"--list", list, "--output", three, "--threads", "3"}).exitCode, 0);

    bool read = false;
    const QList<VolumeCells> volumes = BatchProgram::readDocument(output, &read);
    ASSERT_TRUE(read);
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0], runInProcess(steps));
    EXPECT_TRUE(readFile(output) == readFile(three)) << "the writer is deterministic: the files should be equal";
    // Away from the edges a column is the substrate under what is left of the film.
    const VolumeCells &cells = volumes[0];
    EXPECT_EQ(cells.countInColumn(kSide / 2, kSide / 2, kSilicon), kSubstrateHeight);
    EXPECT_EQ(cells.countInColumn(kSide / 2, kSide / 2, kOxide), uint32_t(kFilm - kEtch));
    EXPECT_EQ(cells.at(kSide / 2, kSide / 2, kSubstrateHeight), kOxide);
}

TEST_F(BatchProgramTest, DocumentStepsActOnItsFirstVolumeAndKeepTheOthers)
{
    auto first = BatchTest::flatVolume(kSide, kSide, kHeight, kSubstrateHeight, kSilicon);
    auto second = BatchTest::flatVolume(8, 8, 8, 8, kAluminium);
    const VolumeCells secondBefore = cellsOf(*second);
    const QString input = program.writeDocument("in.vxf", {first, second});
    const QByteArray inputBytes = readFile(input);
    const Outcome outcome = program.runSteps({deposition(kOxide, kFilm, Engine::CvdType)}, input);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines, succeededLines({"CVD"}));
    const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
    ASSERT_EQ(volumes.size(), 2);
    EXPECT_EQ(volumes[0].countInColumn(kSide / 2, kSide / 2, kOxide), uint32_t(kFilm));
    EXPECT_EQ(volumes[1], secondBefore);
    EXPECT_EQ(readFile(input), inputBytes) << "the input document must stay as it was";
}

TEST_F(BatchProgramTest, CvdFillsEveryCellWithinTheThicknessOfAPoint)
{
    // One silicon cell in the middle of 17³ unit cells and a 7 cell CVD film: the film is the
    // ball of cell centres within 7 of it, diagonal corners such as (4, 4, 4) at 6.93 included.
    constexpr uint32_t n = 17, c = 8;
    constexpr double thickness = 7.0;
    auto point = TestSupport::volumeOf(n, n, n, [](uint32_t x, uint32_t y, uint32_t z) {
        return x == c && y == c && z == c ? kSilicon : 0u;
    });
    const Outcome outcome =
        program.runSteps({deposition(kOxide, thickness, Engine::CvdType)}, program.writeDocument("point.vxf", {point}));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
    ASSERT_EQ(volumes.size(), 1);
    size_t wrong = 0, film = 0;
    for (uint32_t x = 0; x < n; ++x)
        for (uint32_t y = 0; y < n; ++y)
            for (uint32_t z = 0; z < n; ++z) {
                const int dx = int(x) - int(c), dy = int(y) - int(c), dz = int(z) - int(c);
                const double d = std::sqrt(double(dx * dx + dy * dy + dz * dz));
                const uint32_t expected = d == 0.0 ? kSilicon : d <= thickness ? kOxide : 0u;
                wrong += volumes[0].at(x, y, z) != expected;
                film += expected == kOxide;
            }
    EXPECT_EQ(wrong, 0u) << "of " << film << " film cells";
    EXPECT_EQ(volumes[0].at(c + 4, c + 4, c + 4), kOxide);
    EXPECT_EQ(volumes[0].at(c - 4, c - 4, c - 4), kOxide);
}

TEST_F(BatchProgramTest, OldFormatListIsUpdatedWithAWarningAndRuns)
{
    // An old list: version 0 and the material ids under their old name.
    const QString current = program.writeList("current.plst", substrateDepositEtch());
    QByteArray old = readFile(current);
    old.replace("version=\"1\"", "version=\"0\"").replace("\"Material_Id\"", "\"MaterialId\"");
    ASSERT_TRUE(writeFile(program.path("old.plst"), old));

    const Outcome outcome = program.run({"--list", program.path("old.plst"), "--output", output});

    EXPECT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_TRUE(outcome.stderrText.contains(QLatin1String(Engine::ProcessListFile::kUpdatedListTitle)));
    EXPECT_TRUE(outcome.stderrText.contains(QLatin1String(Engine::ProcessListFile::kUpdatedListText)));
    EXPECT_EQ(BatchProgram::readDocument(output).value(0), runInProcess(substrateDepositEtch()));
}

// --- Runs that stop

// A step that cannot run: ProcessStepsBatchTest.cpp, one case for each family.

TEST_F(BatchProgramTest, WithoutAVolumeNoStepRunsAndTheMissingVolumeTextIsPrinted)
{
    const Outcome outcome = program.runSteps({deposition(kOxide, kFilm, Engine::CvdType)});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.stdoutLines.isEmpty()) << outcome.stdoutLines.join('\n').toStdString();
    EXPECT_TRUE(outcome.stderrText.contains(kMissingVolumeText)) << outcome.stderrText.toStdString();
}

TEST_F(BatchProgramTest, AStepWhoseMaterialIsNotInTheCatalogueRunsWithAWarning)
{
    constexpr uint32_t kUnknownMaterial = 4242; // neither in the catalogue nor in the list's materials
    const Outcome outcome =
        program.runSteps({boxSubstrate(kSide, kSide, kHeight, kSubstrateHeight), deposition(kUnknownMaterial, kFilm)});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_TRUE(outcome.stderrText.contains(
        "Step 2: Isotropic Deposition: Warning: no material for \"Material\""))
        << outcome.stderrText.toStdString();
    EXPECT_FALSE(outcome.stderrText.contains("Step 1:")) << outcome.stderrText.toStdString();
}

// --- Refusals: exit status 2, a message, and no document written

TEST_F(BatchProgramTest, UsageErrorsAreRefusedBeforeAnythingIsWritten)
{
    const QString list = program.writeList("steps.plst", substrateDepositEtch());
    const QString png = program.path("a.png");
    const QString usage = "Usage: voxfab-batch";
    const QString imageSize = "--image-size needs a size WIDTHxHEIGHT";
    const struct {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{"--output", output}, usage},
        {{"--list", list}, usage},
        {{"--list", list, "--output", output, "--frobnicate"}, usage},
        {{"--list", list, "--output", output, "--threads", "0"}, usage},
        {{"--list", list, "--output", output, "--threads", "abc"}, usage},
        {{"--list", list, "--output", output, "--threads"}, usage},
        {{"--list", list, "--output", output, "extra"}, usage},
        // The options of the files written after the run.
        {{"--image", png, "--view", "sideways"}, "--view takes one of iso, front, top, right, left, back, bottom"},
        {{"--image", png, "--image-size", "640"}, imageSize},
        {{"--image", png, "--image-size", "0x480"}, imageSize},
        {{"--image", png, "--image-size", "99999x10"}, imageSize},
        {{"--view", "top"}, "give --image FILE.png too"},
        {{"--stl", program.path("a.stl"), "--surface", "round"}, "--surface takes cubes or smooth"},
        {{"--surface", "smooth"}, "give --stl FILE.stl too"},
        {{"--vtk", ""}, "--vtk needs a file name"},
        {{"--vtk", program.path("no/such/folder/x.vti")}, "x.vti"},
        {{"--netlist", ""}, "--netlist needs a file name."},
        {{"--data-field", "Random Walk Particle Count Type N"}, "give --export-data FILE.csv too"},
    };
    for (const auto &c : cases) {
        QStringList arguments = c.arguments;
        if (!arguments.contains("--list") && !arguments.contains("--output"))
            arguments = QStringList{"--list", list, "--output", output} + arguments;
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const Outcome outcome = program.run(arguments);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.stderrText.contains(c.message)) << outcome.stderrText.toStdString();
        EXPECT_TRUE(outcome.stdoutLines.isEmpty());
        EXPECT_FALSE(QFile::exists(output));
    }

    const Outcome help = program.run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.stdoutLines.join('\n').contains("--threads N"));
}

TEST_F(BatchProgramTest, UnreadableInputsAreRefusedWithTheirNameAndNothingIsWritten)
{
    const QString list = program.writeList("steps.plst", substrateDepositEtch());
    const QByteArray listText = readFile(list);
    writeFile(program.path("truncated.plst"), listText.left(listText.size() / 2));
    writeFile(program.path("wrong-root.plst"), "<?xml version=\"1.0\"?>\n<Document><Header version=\"1\"/></Document>\n");
    writeFile(program.path("not-a-document.vxf"), "<Process-List version=\"1\"/>\n");
    writeFile(program.path("no-header.vxf"), "<?xml version=\"1.0\"?>\n<Document><Object object-type=\"1\"/></Document>\n");

    const struct {
        QString culprit;
        QStringList arguments;
    } cases[] = {
        {program.path("missing.plst"), {"--list", program.path("missing.plst")}},
        {program.path("truncated.plst"), {"--list", program.path("truncated.plst")}},
        {program.path("wrong-root.plst"), {"--list", program.path("wrong-root.plst")}},
        {program.path("missing.vxf"), {"--list", list, "--document", program.path("missing.vxf")}},
        {program.path("not-a-document.vxf"), {"--list", list, "--document", program.path("not-a-document.vxf")}},
        {program.path("no-header.vxf"), {"--list", list, "--document", program.path("no-header.vxf")}},
        {program.path("no-such-folder/out.vxf"), {"--list", list, "--output", program.path("no-such-folder/out.vxf")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.culprit.toStdString());
        QStringList arguments = c.arguments;
        if (!arguments.contains("--output"))
            arguments << "--output" << output;
        const Outcome outcome = program.run(arguments);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.stderrText.contains(c.culprit)) << outcome.stderrText.toStdString();
        EXPECT_TRUE(outcome.stdoutLines.isEmpty()) << "no step may run";
        EXPECT_FALSE(QFile::exists(output));
    }
}

// --- Documents read with warnings: the run goes on, and stderr tells what was not as written

// A State with fewer ids than cells leaves the last cells empty; damage after the Header keeps
// the objects before it. Each is one warning on stderr, and the steps run on what was read.
TEST_F(BatchProgramTest, ShortStateAndDamagedDocumentsRunWithTheirWarningsOnStderr)
{
    const QString list = program.writeList("steps.plst", {deposition(kOxide, kFilm, Engine::CvdType)});
    program.writeDocument("whole.vxf", {BatchTest::flatVolume(kSide, kSide, kHeight, kSubstrateHeight, kSilicon),
                                        BatchTest::flatVolume(4, 4, 4, 2)});
    const QByteArray whole = readFile(program.path("whole.vxf"));
    // One more layer than the State holds ids for: 256 cells of the second volume stay empty.
    QByteArray taller = whole;
    const int second = taller.indexOf("<Object", taller.indexOf("</Object>"));
    ASSERT_GT(second, 0);
    taller.replace(taller.indexOf("size-z=\"4\"", second), 10, "size-z=\"5\"");
    ASSERT_TRUE(writeFile(program.path("short.vxf"), taller));
    // Cut inside the second volume's State: the first volume is read, the second is not.
    ASSERT_TRUE(writeFile(program.path("cut.vxf"), whole.left(whole.indexOf("<State>", second) + 20)));

    const struct {
        QString document;
        QStringList warnings;
        QList<uint32_t> heights;
    } cases[] = {
        {program.path("short.vxf"),
         {"voxfab-batch: WARNING: The \"State\" of cell volume 2 (4 ",
          " 4 ", " 5) holds 64 material ids for its 80 cells; the last 16 cells are left empty.\n"},
         {kHeight, 5}},
        {program.path("cut.vxf"),
         {"voxfab-batch: WARNING: The document is damaged near line ",
          "Reading stopped there, after 1 object.\n"},
         {kHeight}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.document.toStdString());
        QFile::remove(output);
        const Outcome outcome = program.run({"--list", list, "--output", output, "--document", c.document});

        ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
        EXPECT_EQ(outcome.stdoutLines, succeededLines({"CVD"}));
        for (const QString &part : c.warnings)
            EXPECT_TRUE(outcome.stderrText.contains(part)) << outcome.stderrText.toStdString();
        EXPECT_EQ(outcome.stderrText.count(QStringLiteral("WARNING:")), 1) << outcome.stderrText.toStdString();
        EXPECT_FALSE(outcome.stderrText.contains(QLatin1String(".."))) << outcome.stderrText.toStdString();
        const QList<VolumeCells> volumes = BatchProgram::readDocument(output);
        ASSERT_EQ(volumes.size(), c.heights.size());
        for (int i = 0; i < volumes.size(); ++i)
            EXPECT_EQ(volumes[i].sizeZ, c.heights[i]);
        EXPECT_EQ(volumes[0].countInColumn(kSide / 2, kSide / 2, kOxide), uint32_t(kFilm));
    }
}

// --- "Save Image"

TEST_F(BatchProgramTest, SaveImageSavesTheDefaultViewOfTheVolumeAsItIsAtThatStep)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "\"Save Image\" needs an X display; run the tests under xvfb-run";
    const QString image = program.path("view.png");
    const QList<Engine::ProcessData> steps{boxSubstrate(kSide, kSide, kHeight, kSubstrateHeight, kSilicon),
                                       deposition(kOxide, kFilm, Engine::CvdType), BatchTest::saveImage(image)};
    const Outcome outcome = program.run({"--list", program.writeList("steps.plst", steps), "--output", output});

    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines, succeededLines({"Create Substrate", "CVD", "Save Image"}));
    const QImage picture(image, "PNG");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(640, 480)) << "the size of a fresh view";
    // The background is black and the axes pure red, green and blue. The oxide film that covers
    // the volume after the CVD step is a light blue: lit, its faces keep some red and more blue.
    int oxide = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            oxide += c.red() > 0 && c.blue() > c.red() ? 1 : 0;
        }
    EXPECT_GT(oxide, 100);
}

TEST_F(BatchProgramTest, SaveImageWithoutADisplayFailsWithItsReason)
{
    const QString image = program.path("view.png");
    QProcessEnvironment environment = program.environment();
    environment.remove("DISPLAY");
    const Outcome outcome = program.run(
        {"--list",
         program.writeList("steps.plst", {boxSubstrate(kSide, kSide, kHeight, kSubstrateHeight), BatchTest::saveImage(image)}),
         "--output", output},
        environment);

    EXPECT_EQ(outcome.exitCode, 1);
    ASSERT_EQ(outcome.stdoutLines.size(), 2);
    EXPECT_EQ(outcome.stdoutLines[1], "Step 2: Save Image: " + Engine::stepResultText(Engine::StepInvalidParameter));
    EXPECT_TRUE(outcome.stderrText.contains("Step 2: Save Image: no OpenGL context")) << outcome.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(image));
    EXPECT_EQ(BatchProgram::readDocument(output).size(), 1) << "the substrate is kept";
}
