// One step at a time: dispatch and result codes, required parameters, each runner's cells and
// its volume history, and the image saver.

#include "BatchTestSupport.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Engine/StepRunner.h"
#include "Util/IObserver.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using Core::Operations::OperationId;
using Model::Automaton::TotalVolume;

namespace {

struct StepRunnerTest : ::testing::Test {
    // Runs `step` on `volume` (which a "Create Substrate" step may replace).
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, saver, QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }

    Core::ApplicationModel model;
    std::shared_ptr<TotalVolume> volume;
    ImageSaver saver;
    QString detail;
};

struct CallObserver : Util::IObserver {
    explicit CallObserver(std::function<void()> f) : call(std::move(f)) {}
    void update() override { call(); }
    std::function<void()> call;
};

} // namespace

// --- Result codes and dispatch

TEST(StepResultText, CodesOutsideTheTableReadAsUnknownProcess)
{
    EXPECT_EQ(stepResultText(5), stepResultText(StepUnknownProcess));
    EXPECT_EQ(stepResultText(-1), stepResultText(StepUnknownProcess));
}

TEST_F(StepRunnerTest, TypesAboveTwentyAreUnknown)
{
    volume = flatVolume(2, 2, 2, 1);
    EXPECT_EQ(run(ProcessData(21)), StepUnknownProcess);
    EXPECT_EQ(run(ProcessData(ProcessData::kInvalidType)), StepUnknownProcess);
    // Even without a volume.
    volume.reset();
    EXPECT_EQ(run(ProcessData(21)), StepUnknownProcess);
}

// Every known process type has a runner: an empty step is refused for its parameters (or, for
// the cell-counting steps, runs on its defaults), never reported as not implemented.
TEST_F(StepRunnerTest, EveryKnownProcessTypeHasARunner)
{
    for (uint32_t type = 0; type <= kLastProcessType; ++type) {
        volume = flatVolume(2, 2, 2, 1);
        EXPECT_NE(run(ProcessData(type)), StepNotImplemented) << type;
    }
}

TEST_F(StepRunnerTest, StepOnNoVolumeIsRefusedWithoutCrash)
{
    EXPECT_EQ(run(deposition(kOxide, 1.0)), StepMissingParameter);
    EXPECT_FALSE(detail.isEmpty());
}

// --- Required parameters

TEST_F(StepRunnerTest, MissingParameterGivesOneAndLeavesTheCells)
{
    volume = flatVolume(4, 4, 6, 2);
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(without(deposition(kOxide, 1.0), "Material_Id")), StepMissingParameter);
    EXPECT_TRUE(detail.contains("Material_Id")) << detail.toStdString();
    EXPECT_EQ(run(without(deposition(kOxide, 1.0, CvdType), "Thickness")), StepMissingParameter);
    EXPECT_EQ(run(without(etching(kSilicon, 1.0), "Depth")), StepMissingParameter);
    EXPECT_EQ(run(without(electroplating(kSilicon, kOxide, 1.0), "Conducting Material_Id")), StepMissingParameter);
    EXPECT_EQ(run(without(electroplating(kSilicon, kOxide, 1.0), "Deposited Material_Id")), StepMissingParameter);
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(StepRunnerTest, InvalidVariantCountsAsMissing)
{
    volume = flatVolume(4, 4, 6, 2);
    ProcessData step = deposition(kOxide, 1.0);
    step.setProcessParameter("Material_Id", QVariant());
    EXPECT_EQ(run(step), StepMissingParameter);
}

TEST_F(StepRunnerTest, ValueThatDoesNotConvertGivesTwo)
{
    volume = flatVolume(4, 4, 6, 2);
    const auto before = materialsOf(*volume);
    ProcessData step = deposition(kOxide, 1.0);
    step.setProcessParameter("Film Thickness", QString("thick"));
    EXPECT_EQ(run(step), StepInvalidParameter);
    EXPECT_TRUE(detail.contains("Film Thickness")) << detail.toStdString();

    ProcessData badId = etching(kSilicon, 1.0);
    badId.setProcessParameter("Material_Id", QString("-3"));
    EXPECT_EQ(run(badId), StepInvalidParameter);

    ProcessData negative = deposition(kOxide, -2.0);
    EXPECT_EQ(run(negative), StepInvalidParameter);
    EXPECT_EQ(materialsOf(*volume), before);
}

TEST_F(StepRunnerTest, MissingWinsOverInvalidWhateverTheOrder)
{
    volume = flatVolume(4, 4, 6, 2);
    ProcessData step = without(deposition(kOxide, 1.0), "Material_Id");
    step.setProcessParameter("Film Thickness", QString("thick")); // read before the id
    EXPECT_EQ(run(step), StepMissingParameter);
}

// --- Isotropic deposition, etching, electroplating

TEST_F(StepRunnerTest, IsotropicDepositionGrowsTheFilmAndRecordsThirteen)
{
    volume = flatVolume(6, 6, 20, 5);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(deposition(kOxide, 10.0)), StepSucceeded);
    for (uint32_t x = 0; x < 6; ++x)
        for (uint32_t y = 0; y < 6; ++y) {
            EXPECT_EQ(countInColumn(*volume, x, y, kOxide), 10u) << x << "," << y;
            EXPECT_EQ(materialAt(*volume, x, y, 5), kOxide);
            EXPECT_EQ(materialAt(*volume, x, y, 14), kOxide);
            EXPECT_EQ(materialAt(*volume, x, y, 15), 0u);
        }
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::IsotropicDepositionId));
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(StepRunnerTest, CvdReadsThicknessAndSiliconMarksTheLattice)
{
    volume = flatVolume(4, 4, 10, 2);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(deposition(kSilicon, 3.0, CvdType)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 1, 1, kSilicon), 5u);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::IsotropicDepositionId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(StepRunnerTest, IsotropicEtchingRemovesTheMaterialAndRecordsFourteen)
{
    volume = flatVolume(4, 4, 12, 8);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(etching(kSilicon, 3.0)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 2, 2, kSilicon), 5u);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::IsotropicEtchingId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));

    // Etching a material that is not there changes nothing and leaves the lattice flag.
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    const auto before = materialsOf(*volume);
    ASSERT_EQ(run(etching(kOxide, 3.0)), StepSucceeded);
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(StepRunnerTest, ElectroplatingPlatesOnlyTheConductorAndRecordsFifteen)
{
    // Silicon below z = 4, an aluminium pad on top of it at x < 3.
    volume = flatVolume(10, 4, 12, 4);
    auto *cells = volume->lockCells();
    for (uint32_t x = 0; x < 3; ++x)
        for (uint32_t y = 0; y < 4; ++y)
            cells[volume->cellIndex(x, y, 4)].setMaterial(kAluminium);
    volume->unlockCells();
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);

    ASSERT_EQ(run(electroplating(kAluminium, kSilicon, 2.0)), StepSucceeded);
    EXPECT_EQ(materialAt(*volume, 0, 1, 5), kSilicon);
    EXPECT_EQ(materialAt(*volume, 0, 1, 6), kSilicon);
    EXPECT_EQ(materialAt(*volume, 0, 1, 7), 0u);
    EXPECT_EQ(countInColumn(*volume, 9, 1, kSilicon), 4u); // the substrate only
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::ElectroplatingId));
    // The interactive operation never marks the lattice, even when it plates silicon.
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

// The runners must count steps as the interactive operations do: compare the cells on uneven
// cells with lengths that are not whole numbers of cells.
struct MatchesInteractiveOperation : StepRunnerTest {
    // Silicon below z = 3 (z = 5 on every fourth x), an aluminium cap on the raised columns.
    static std::shared_ptr<TotalVolume> makeVolume()
    {
        std::vector<uint32_t> materials(12 * 9 * 14, 0);
        for (uint32_t x = 0; x < 12; ++x)
            for (uint32_t y = 0; y < 9; ++y) {
                const uint32_t top = 3 + (x % 4 == 0 ? 2 : 0);
                for (uint32_t z = 0; z < top; ++z)
                    materials[(x * 9 + y) * 14 + z] = kSilicon;
                if (x % 4 == 0)
                    materials[(x * 9 + y) * 14 + top] = kAluminium;
            }
        return std::make_shared<TotalVolume>(12, 9, 14, 0.7f, 1.3f, 0.9f, Util::Vector3D(), materials);
    }

    // Runs `op` interactively on a fresh volume, its options set by `configure`; the cells after it.
    template <class Op>
    std::vector<uint32_t> interactive(std::function<std::shared_ptr<Op>(Core::ApplicationModel *)> make,
                                      std::function<void(Op &)> configure, uint32_t expectedHistory)
    {
        Core::ApplicationModel interactiveModel;
        auto reference = makeVolume();
        interactiveModel.scene().addObject(reference);
        std::shared_ptr<Op> op = make(&interactiveModel);
        Op *raw = op.get();
        op->setOptionsObserver(std::make_shared<CallObserver>([raw, configure] { configure(*raw); }));
        interactiveModel.startOperation(op);
        EXPECT_EQ(interactiveModel.volumeHistory().lastStep(reference->objectId()), expectedHistory);
        return materialsOf(*reference);
    }

    std::vector<uint32_t> batch(const ProcessData &step)
    {
        volume = makeVolume();
        EXPECT_EQ(run(step), StepSucceeded) << detail.toStdString();
        return materialsOf(*volume);
    }
};

TEST_F(MatchesInteractiveOperation, Deposition)
{
    using Op = Core::Operations::IsotropicFilmDepositionOperation;
    const auto cells = batch(deposition(kOxide, 2.3, CvdType));
    EXPECT_NE(cells, materialsOf(*makeVolume()));
    EXPECT_EQ(cells, interactive<Op>([](Core::ApplicationModel *m) { return std::make_shared<Op>(m, "CVD"); },
                                     [](Op &op) {
                                         op.setThickness(2.3f);
                                         op.setMaterial(kOxide);
                                     },
                                     Core::Operations::IsotropicDepositionId));
    auto direct = makeVolume();
    Core::Operations::depositIsotropicFilm(*direct, kOxide, 2.3f);
    EXPECT_EQ(cells, materialsOf(*direct));
}

TEST_F(MatchesInteractiveOperation, Etching)
{
    using Op = Core::Operations::IsotropicFilmEtchingOperation;
    const auto cells = batch(etching(kSilicon, 1.9));
    EXPECT_NE(cells, materialsOf(*makeVolume()));
    EXPECT_EQ(cells, interactive<Op>([](Core::ApplicationModel *m) { return std::make_shared<Op>(m); },
                                     [](Op &op) {
                                         op.setDepth(1.9f);
                                         op.setMaterial(kSilicon);
                                     },
                                     Core::Operations::IsotropicEtchingId));
}

TEST_F(MatchesInteractiveOperation, Electroplating)
{
    using Op = Core::Operations::ElectrodepositionOperation;
    const auto cells = batch(electroplating(kAluminium, kCopper, 2.6));
    EXPECT_NE(cells, materialsOf(*makeVolume()));
    EXPECT_EQ(cells, interactive<Op>([](Core::ApplicationModel *m) { return std::make_shared<Op>(m); },
                                     [](Op &op) {
                                         op.setThickness(2.6f);
                                         op.setConductingMaterial(kAluminium);
                                         op.setDepositedMaterial(kCopper);
                                     },
                                     Core::Operations::ElectroplatingId));
}

// --- Create Substrate

TEST_F(StepRunnerTest, CreateSubstrateBuildsABoxAddsItToTheSceneAndMakesItTheRunVolume)
{
    ProcessData step = boxSubstrate(5, 4, 6, 3, kSilicon);
    step.setProcessParameter("Substrate Delta X", 1u);
    step.setProcessParameter("Lower Left Front Corner", QVariant::fromValue(Util::Vector3D(1, 2, 3)));
    ASSERT_EQ(run(step), StepSucceeded);
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->sizeX(), 5u);
    EXPECT_EQ(volume->sizeY(), 4u);
    EXPECT_EQ(volume->sizeZ(), 6u);
    EXPECT_EQ(volume->origin(), Util::Vector3D(1, 2, 3));
    EXPECT_EQ(countInColumn(*volume, 0, 0, kSilicon), 0u); // displaced by one cell along x
    EXPECT_EQ(countInColumn(*volume, 1, 0, kSilicon), 3u);
    EXPECT_EQ(countInColumn(*volume, 4, 3, kSilicon), 3u);
    const auto objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects[0], volume);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(StepRunnerTest, CreateSubstrateReplacesAnExistingRunVolume)
{
    volume = flatVolume(2, 2, 2, 1);
    const auto old = volume;
    ASSERT_EQ(run(boxSubstrate(3, 3, 3, 1)), StepSucceeded);
    EXPECT_NE(volume, old);
    EXPECT_EQ(volume->sizeX(), 3u);
}

TEST_F(StepRunnerTest, CreateSubstrateBuildsASphere)
{
    ProcessData step = boxSubstrate(9, 9, 9, 0, kOxide);
    step.setProcessParameter("SphericalSubstrate", true);
    for (const char *axis : {"X", "Y", "Z"})
        step.setProcessParameter(QString("Substrate Center ") + axis, 4u);
    step.setProcessParameter("Substrate Radius", 2u);
    ASSERT_EQ(run(step), StepSucceeded);
    EXPECT_EQ(materialAt(*volume, 4, 4, 4), kOxide);
    EXPECT_EQ(materialAt(*volume, 4, 4, 6), kOxide);
    EXPECT_EQ(materialAt(*volume, 4, 4, 7), 0u);
    EXPECT_EQ(materialAt(*volume, 6, 6, 4), 0u);
    EXPECT_EQ(countInColumn(*volume, 4, 4, kOxide), 5u);
}

TEST_F(StepRunnerTest, CreateSubstrateTakesTheDialogsCornerList)
{
    ProcessData step = boxSubstrate(2, 2, 2, 1);
    step.setProcessParameter("Lower Left Front Corner", QVariantList{0.5, -1.0, 2.0});
    ASSERT_EQ(run(step), StepSucceeded);
    EXPECT_EQ(volume->origin(), Util::Vector3D(0.5, -1, 2));
}

TEST_F(StepRunnerTest, CreateSubstrateRefusesMissingAndBadSizes)
{
    EXPECT_EQ(run(without(boxSubstrate(4, 4, 4, 2), "Volume Size Y")), StepMissingParameter);
    EXPECT_EQ(run(without(boxSubstrate(4, 4, 4, 2), "Lower Left Front Corner")), StepMissingParameter);
    EXPECT_EQ(run(without(boxSubstrate(4, 4, 4, 2), "Material_Id")), StepMissingParameter);
    ProcessData badCorner = boxSubstrate(4, 4, 4, 2);
    badCorner.setProcessParameter("Lower Left Front Corner", QString("here"));
    EXPECT_EQ(run(badCorner), StepInvalidParameter);
    ProcessData empty = boxSubstrate(4, 0, 4, 2);
    EXPECT_EQ(run(empty), StepInvalidParameter);
    EXPECT_FALSE(volume);
    EXPECT_TRUE(model.scene().objects().isEmpty());
}

TEST_F(StepRunnerTest, CreateSubstrateRefusesAVolumeTooLargeWithTheReason)
{
    ProcessData step = boxSubstrate(4, 4, 4, 2);
    step.setProcessParameter("Volume Size X", 100000u);
    step.setProcessParameter("Volume Size Y", 100000u);
    step.setProcessParameter("Volume Size Z", 100000u);
    EXPECT_EQ(run(step), StepInvalidParameter);
    EXPECT_TRUE(detail.startsWith("Volume too large.")) << detail.toStdString();
    EXPECT_FALSE(volume);
    EXPECT_TRUE(model.scene().objects().isEmpty());
}

// --- Save Image

TEST_F(StepRunnerTest, SaveImageHandsTheFilenameToTheSaver)
{
    volume = flatVolume(2, 2, 2, 1);
    QStringList asked;
    saver = [&asked](const QString &filename) {
        asked << filename;
        return QString();
    };
    EXPECT_EQ(run(saveImage("/tmp/picture.png")), StepSucceeded);
    EXPECT_EQ(asked, QStringList{"/tmp/picture.png"});
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(StepRunnerTest, SaveImageFailureGivesTwoWithTheReason)
{
    volume = flatVolume(2, 2, 2, 1);
    saver = [](const QString &) { return QString("The disk is full."); };
    EXPECT_EQ(run(saveImage("a.png")), StepInvalidParameter);
    EXPECT_EQ(detail, QString("The disk is full."));

    saver = nullptr;
    EXPECT_EQ(run(saveImage("a.png")), StepInvalidParameter);
    EXPECT_FALSE(detail.isEmpty());
}

TEST_F(StepRunnerTest, SaveImageWithoutFilenameGivesOne)
{
    volume = flatVolume(2, 2, 2, 1);
    bool called = false;
    saver = [&called](const QString &) {
        called = true;
        return QString();
    };
    EXPECT_EQ(run(ProcessData(SaveImageType)), StepMissingParameter);
    EXPECT_FALSE(called);
}
