// The Si oxidation step runner: its result codes, the cells of the automaton it runs in each
// mode, and the volume history it records.

#include "BatchTestSupport.h"
#include "OxidationSteps.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidation.h"
#include "Engine/StepRunner.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
namespace P = Engine::Parameters;

namespace {

struct OxidationStepRunner : ::testing::Test {
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, saver, QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }

    ProcessData with(ProcessData step, const char *name, const QVariant &value)
    {
        step.setProcessParameter(name, value);
        return step;
    }

    Core::ApplicationModel model;
    std::shared_ptr<Model::Automaton::TotalVolume> volume = flatVolume(4, 3, 30, 12);
    ImageSaver saver;
    QString detail;
};

} // namespace

TEST_F(OxidationStepRunner, EachModeGivesTheCellsOfItsEntryPointAndMarksTheLattice)
{
    auto expected = flatVolume(4, 3, 30, 12);
    Core::Operations::growOxideByTime(*expected, 50.0, 2.0, 1373.15, 1.0);
    ASSERT_EQ(run(oxidationByTime(50.0, 2.0, 1373.15, 1.0)), StepSucceeded) << detail.toStdString();
    EXPECT_EQ(materialsOf(*volume), materialsOf(*expected));
    EXPECT_NE(materialsOf(*volume), materialsOf(*flatVolume(4, 3, 30, 12)));
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::SiOxidationId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));

    volume = flatVolume(4, 3, 30, 12);
    expected = flatVolume(4, 3, 30, 12);
    Core::Operations::growOxideByThickness(*expected, 20.0, 0.3);
    ASSERT_EQ(run(oxidationToThickness(20.0, 0.3)), StepSucceeded) << detail.toStdString();
    EXPECT_EQ(materialsOf(*volume), materialsOf(*expected));
    // D = 6: 3.36 up (2 cells, at 1.5 and 2.5) and 2.64 down (3 cells, at 0.5, 1.5 and 2.5).
    EXPECT_EQ(countInColumn(*volume, 1, 1, kOxide), 5u);
    EXPECT_EQ(countInColumn(*volume, 1, 1, kSilicon), 9u);
}

TEST_F(OxidationStepRunner, WithNeitherModeTheStepSucceedsAndChangesNothing)
{
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(oxidation(1.0)), StepSucceeded);
    EXPECT_EQ(run(without(oxidation(1.0), P::kOxidationThicknessSet)), StepSucceeded)
        << "the thickness flag is optional";
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(OxidationStepRunner, MissingAndUnusableValuesGiveTheirCodes)
{
    const ProcessData byTime = oxidationByTime(1.0, 1.0, 1273.15, 1.0);
    for (const char *name : {P::kMicronConversion, P::kOxidationPressure, P::kOxidationTemperature,
                             P::kOxidationTime, P::kOxidationTimeSet, P::kOxidationThickness})
        EXPECT_EQ(run(without(byTime, name)), StepMissingParameter) << name;

    EXPECT_EQ(run(with(byTime, P::kOxidationTemperature, QStringLiteral("hot"))), StepInvalidParameter);
    EXPECT_EQ(run(with(byTime, P::kOxidationTemperature, -5.0)), StepInvalidParameter);
    EXPECT_TRUE(detail.contains(P::kOxidationTemperature)) << detail.toStdString();
    EXPECT_EQ(run(with(byTime, P::kOxidationTime, -1.0)), StepInvalidParameter);
    EXPECT_EQ(run(with(byTime, P::kMicronConversion, 0.0)), StepInvalidParameter);
    EXPECT_EQ(run(with(oxidationToThickness(1.0, 0.1), P::kOxidationThickness, qQNaN())), StepInvalidParameter);
    // The values of the other mode are not used and need only be present.
    EXPECT_EQ(run(with(oxidationToThickness(1.0, 0.1), P::kOxidationTemperature, -5.0)), StepSucceeded);
}
