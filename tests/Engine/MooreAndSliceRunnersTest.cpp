// The step runners of types 2, 3, 6 and 9: their result codes, their cells and what they record
// in the volume history.

#include "BatchTestSupport.h"
#include "MooreAndSliceSteps.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Engine/StepRunner.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

struct MooreAndSliceRunners : ::testing::Test {
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, nullptr, QString()};
        return runStep(context);
    }

    uint32_t lastStep() { return model.volumeHistory().lastStep(volume->objectId()); }
    bool latticeOutOfDate() { return model.volumeHistory().isLatticeOutOfDate(volume->objectId()); }

    Core::ApplicationModel model;
    std::shared_ptr<TotalVolume> volume = flatVolume(5, 5, 12, 4, kSilicon);
};

} // namespace

TEST_F(MooreAndSliceRunners, MissingAndUnreadableParametersLeaveTheCells)
{
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(without(mooreDeposition(kOxide, 2), "Thickness")), StepMissingParameter);
    EXPECT_EQ(run(without(mooreEtching(kSilicon, 2), "Material_Id")), StepMissingParameter);
    EXPECT_EQ(run(without(planarization(8, 1), "Minimum Height")), StepMissingParameter);
    EXPECT_EQ(run(without(pour(kOxide, 8), "Maximum Height")), StepMissingParameter);

    ProcessData badLayers = mooreEtching(kSilicon, 2);
    badLayers.setProcessParameter("Depth", QStringLiteral("deep"));
    EXPECT_EQ(run(badLayers), StepInvalidParameter);
    ProcessData negative = planarization(8, 1);
    negative.setProcessParameter("Maximum Height", QStringLiteral("-1"));
    EXPECT_EQ(run(negative), StepInvalidParameter);
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(MooreAndSliceRunners, MooreStepsGrowAndEtchWholeLayersAndRecordTheirIds)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(mooreDeposition(kOxide, 3)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 2, 2, kOxide), 3u);
    EXPECT_EQ(lastStep(), uint32_t(MooreDepositionId));
    EXPECT_FALSE(latticeOutOfDate());

    ASSERT_EQ(run(mooreEtching(kOxide, 1)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 2, 2, kOxide), 2u);
    EXPECT_EQ(lastStep(), uint32_t(MooreEtchingId));
    EXPECT_FALSE(latticeOutOfDate());

    // Silicon under two layers of oxide is out of reach of the etch, yet counts as a silicon step.
    ASSERT_EQ(run(mooreEtching(kSilicon, 5)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 2, 2, kSilicon), 4u);
    EXPECT_TRUE(latticeOutOfDate());
}

TEST_F(MooreAndSliceRunners, PlanarizationAndPouringRecordTheirIds)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(pour(kOxide, 7)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 1, 1, kOxide), 3u);
    EXPECT_EQ(lastStep(), uint32_t(PourMaterialId));
    EXPECT_FALSE(latticeOutOfDate());

    ASSERT_EQ(run(planarization(5, 2)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 1, 1, kSilicon), 2u);
    EXPECT_EQ(countInColumn(*volume, 1, 1, kOxide), 1u);
    EXPECT_EQ(lastStep(), uint32_t(PlanarizationId));
    EXPECT_TRUE(latticeOutOfDate());
}
