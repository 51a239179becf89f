// voxfab-batch running photolithography steps: the shipped example from substrate to the mask
// carried into the film, a mask named only by its image file, and an image that cannot be read.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include "Engine/ProcessListFile.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/StepRunner.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace BlackBox;
using BatchTest::boxSubstrate;
using BatchTest::deposition;
using BatchTest::kOxide;
using BatchTest::kSilicon;
namespace Parameters = Engine::Parameters;

namespace {

constexpr uint32_t kResist = 11;         // "Photoresist +"
constexpr uint32_t kExampleSide = 200;   // cells, and mask pixels
constexpr uint32_t kExampleSilicon = 6;  // layers of the example's substrate
constexpr uint32_t kExampleOxide = 6;    // layers of its CVD film

QString example(const char *name)
{
    return QDir(QStringLiteral(VOXFAB_EXAMPLES_DIR)).filePath(QLatin1String(name));
}

QList<Engine::ProcessData> exampleSteps()
{
    QList<Engine::ProcessData> steps;
    Engine::ProcessListFile file;
    EXPECT_TRUE(file.read(example("photolithography.plst"), steps));
    return steps;
}

// Whether the example image is black over column (x, y); image rows run downwards.
bool darkInExampleImage(const QImage &image, uint32_t x, uint32_t y)
{
    return (image.pixel(int(x), int(kExampleSide - 1 - y)) & 0xffffff) == 0;
}

struct PhotolithographyBatchTest : ::testing::Test {
    BatchProgram program;
};

} // namespace

// The shipped example: its mask image is developed into the resist, and RIE and planarization
// carry it into the film, so that each column ends as the mask says.
TEST_F(PhotolithographyBatchTest, ExampleMaskIsTransferredIntoTheFilm)
{
    const QList<Engine::ProcessData> flow = exampleSteps();
    ASSERT_EQ(flow.size(), 7);
    ASSERT_EQ(flow[3].processType(), uint32_t(Engine::PhotolithographyType));
    // The example as shipped, without its last step (the picture needs a display): pour, expose
    // and develop, then RIE through the openings and planarization down to the film.
    const QImage image(example("photolithography-mask.png"));
    ASSERT_FALSE(image.isNull());
    const Outcome outcome = program.runSteps(flow.mid(0, 6));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    EXPECT_EQ(outcome.stdoutLines.value(3), QStringLiteral("Step 4: Photolithography: No error, process was run successfully."));
    const VolumeCells film = program.outputCells();
    ASSERT_EQ(film.sizeX, kExampleSide);
    for (uint32_t x = 0; x < kExampleSide; ++x)
        for (uint32_t y = 0; y < kExampleSide; ++y) {
            const bool dark = darkInExampleImage(image, x, y);
            ASSERT_EQ(film.countInColumn(x, y, kSilicon), kExampleSilicon) << x << "," << y;
            ASSERT_EQ(film.countInColumn(x, y, kOxide), dark ? kExampleOxide : 0u) << x << "," << y;
            ASSERT_EQ(film.countInColumn(x, y, kResist), 0u) << x << "," << y;
        }
}

TEST_F(PhotolithographyBatchTest, AMaskNamedByItsImageIsReadAndAnUnreadableOneStopsTheRun)
{
    // 4 x 2 columns; the image covers its right half.
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    ASSERT_TRUE(image.save(program.path(QStringLiteral("mask.png"))));

    Engine::ProcessData named(Engine::PhotolithographyType);
    Engine::addMaterialParameters(named, Parameters::kMaterial, kResist);
    named.addProcessParameter(Parameters::kTopMaskFile, QStringLiteral("mask.png"), true); // the working folder's
    named.addProcessParameter(Parameters::kBottomMask, QVariant::fromValue(QVector<bool>()), false);
    named.addProcessParameter(Parameters::kBottomMaskWidth, 0u, true);
    named.addProcessParameter(Parameters::kBottomMaskHeight, 0u, true);
    const QList<Engine::ProcessData> steps = {boxSubstrate(4, 2, 8, 2, kSilicon),
                                              deposition(kResist, 2.0, Engine::CvdType), named};

    const Outcome outcome = program.runSteps(steps);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const VolumeCells cells = program.outputCells();
    for (uint32_t x = 0; x < 4; ++x)
        for (uint32_t y = 0; y < 2; ++y)
            EXPECT_EQ(cells.countInColumn(x, y, kResist), x >= 2 ? 2u : 0u) << x << "," << y;

    QList<Engine::ProcessData> unreadable = steps;
    unreadable[2].setProcessParameter(Parameters::kTopMaskFile, QStringLiteral("nowhere.png"));
    const Outcome refused = program.runSteps(unreadable);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.stdoutLines.value(2), QStringLiteral("Step 3: Photolithography: ") +
                                                Engine::stepResultText(Engine::StepInvalidParameter));
    EXPECT_TRUE(refused.stderrText.contains(QStringLiteral("cannot read the image \"nowhere.png\"")))
        << refused.stderrText.toStdString();
    EXPECT_EQ(program.outputCells().countInColumn(0, 0, kResist), 2u)
        << "the resist stays as the steps before left it";
}
