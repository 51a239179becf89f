// voxfab-batch running photolithography steps: the shipped example from substrate to stripped
// resist, a mask named only by its image file, and an image that cannot be read.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include "Engine/ProcessListFile.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/StepRunner.h"
#include "Model/Masks/ImageMask.h"

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
constexpr uint32_t kExampleResist = 4;   // layers poured over the film
const QString kSucceeded = QStringLiteral("No error, process was run successfully.");

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
    const QString output = program.path(QStringLiteral("out.vxf"));
};

} // namespace

TEST_F(PhotolithographyBatchTest, ExampleListCarriesItsImageAndTheNamesOfEveryStep)
{
    const QList<Engine::ProcessData> steps = exampleSteps();
    ASSERT_EQ(steps.size(), 7);
    const uint32_t types[] = {Engine::CreateSubstrateType, Engine::CvdType, Engine::SpinCoatingType,
                              Engine::PhotolithographyType, Engine::SimpleRieType, Engine::PlanarizationType,
                              Engine::SaveImageType};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(steps[i].processType(), types[i]) << i;

    Model::Masks::ImageMask image;
    ASSERT_TRUE(Model::Masks::ImageMask::read(example("photolithography-mask.png"), image));
    const Engine::ProcessData &lithography = steps[3];
    EXPECT_EQ(lithography.getProcessParameter(Parameters::kTopMaskWidth).toUInt(), image.width);
    EXPECT_EQ(lithography.getProcessParameter(Parameters::kTopMaskHeight).toUInt(), image.height);
    const QVector<bool> bits = lithography.getProcessParameter(Parameters::kTopMask).value<QVector<bool>>();
    ASSERT_EQ(bits.size(), image.bits.size());
    for (int i = 0; i < bits.size(); ++i)
        ASSERT_EQ(bits[i], image.bits.testBit(i)) << "bit " << i;

    // The steps of the other process types carry the parameters their runners require.
    const struct {
        int step;
        std::vector<const char *> names;
    } required[] = {
        {2, {"Material_Id", "Maximum Height"}},
        {4, {"Material_Id", "Etch Depth", "EtchDirectionValue"}},
        {5, {"Maximum Height", "Minimum Height"}},
    };
    for (const auto &r : required)
        for (const char *name : r.names)
            EXPECT_TRUE(steps[r.step].hasParameter(name)) << r.step << " " << name;
}

// The example with the steps of this build: CVD pours the resist, and two more developments
// stand in for the etch of the film and the strip of the resist, so that each column ends as
// the mask says.
TEST_F(PhotolithographyBatchTest, ExampleMaskIsTransferredIntoTheFilm)
{
    const QList<Engine::ProcessData> flow = exampleSteps();
    ASSERT_EQ(flow.size(), 7);
    // The example as shipped, without its last step (the picture needs a display): pour, expose
    // and develop, then RIE through the openings and planarization down to the film.
    const QList<Engine::ProcessData> exposed = flow.mid(0, 4);
    const QList<Engine::ProcessData> transferred = flow.mid(0, 6);
    const QImage image(example("photolithography-mask.png"));
    ASSERT_FALSE(image.isNull());

    const Outcome afterExposure =
        program.run({"--list", program.writeList("exposed.plst", exposed), "--output", output});
    ASSERT_EQ(afterExposure.exitCode, 0) << afterExposure.stderrText.toStdString();
    EXPECT_EQ(afterExposure.stdoutLines.value(3), QStringLiteral("Step 4: Photolithography: ") + kSucceeded);
    const VolumeCells resist = BatchProgram::readDocument(output).value(0);
    ASSERT_EQ(resist.sizeX, kExampleSide);
    for (uint32_t x = 0; x < kExampleSide; ++x)
        for (uint32_t y = 0; y < kExampleSide; ++y) {
            const bool dark = darkInExampleImage(image, x, y);
            ASSERT_EQ(resist.countInColumn(x, y, kResist), dark ? kExampleResist : 0u) << x << "," << y;
            ASSERT_EQ(resist.countInColumn(x, y, kOxide), kExampleOxide) << x << "," << y;
        }

    const QString finalOutput = program.path(QStringLiteral("final.vxf"));
    const Outcome afterStrip =
        program.run({"--list", program.writeList("transferred.plst", transferred), "--output", finalOutput});
    ASSERT_EQ(afterStrip.exitCode, 0) << afterStrip.stderrText.toStdString();
    const VolumeCells film = BatchProgram::readDocument(finalOutput).value(0);
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

    const Outcome outcome = program.run({"--list", program.writeList("named.plst", steps), "--output", output});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.stderrText.toStdString();
    const VolumeCells cells = BatchProgram::readDocument(output).value(0);
    for (uint32_t x = 0; x < 4; ++x)
        for (uint32_t y = 0; y < 2; ++y)
            EXPECT_EQ(cells.countInColumn(x, y, kResist), x >= 2 ? 2u : 0u) << x << "," << y;

    QList<Engine::ProcessData> unreadable = steps;
    unreadable[2].setProcessParameter(Parameters::kTopMaskFile, QStringLiteral("nowhere.png"));
    const Outcome refused = program.run({"--list", program.writeList("unreadable.plst", unreadable), "--output", output});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.stdoutLines.value(2), QStringLiteral("Step 3: Photolithography: ") +
                                                Engine::stepResultText(Engine::StepInvalidParameter));
    EXPECT_TRUE(refused.stderrText.contains(QStringLiteral("cannot read the image \"nowhere.png\"")))
        << refused.stderrText.toStdString();
    EXPECT_EQ(BatchProgram::readDocument(output).value(0).countInColumn(0, 0, kResist), 2u)
        << "the resist stays as the steps before left it";
}
