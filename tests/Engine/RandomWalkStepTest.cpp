// The "Doping (Random Walk CA)" runner: its result codes and the field it leaves.

#include "BatchTestSupport.h"
#include "RandomWalkSteps.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Engine/StepRunner.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/ParticleCountField.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using Model::Automaton::ParticleCountField;

namespace {

constexpr uint32_t kNDoped = 14;

struct RandomWalkStep : ::testing::Test {
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, nullptr, QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }

    Core::ApplicationModel model;
    // A silicon column of 60 cells under one empty cell.
    std::shared_ptr<Model::Automaton::TotalVolume> volume = flatVolume(1, 1, 61, 60);
    QString detail;
};

} // namespace

TEST_F(RandomWalkStep, DopesTheColumnLeavesTheFieldAndRecordsTheStep)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(randomWalkDoping(kNDoped)), StepSucceeded) << detail.toStdString();
    // erfc(x / (2√(Dt))) = 0.1 at 23.3 cells below the surface cell.
    EXPECT_EQ(countInColumn(*volume, 0, 0, kNDoped), 24u);
    EXPECT_EQ(volume->particleCountFieldNames(), QStringList{ParticleCountField::kTypeNName});
    {
        const Model::Automaton::CellReadLock lock(*volume);
        // a³·Cs with a³ in single precision, just under 1e-21 m³, truncates to one particle less.
        EXPECT_EQ(volume->particleCountField(ParticleCountField::kTypeNName)->particleCount(59), 99999u);
    }
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::RandomWalkDopingId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(RandomWalkStep, AnUnstableTimeStepIsAnInvalidValueThatNamesAStableOne)
{
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(randomWalkDoping(kNDoped, 100.0, 0.2)), StepInvalidParameter);
    EXPECT_TRUE(detail.startsWith("The time step is too long")) << detail.toStdString();
    EXPECT_TRUE(detail.endsWith("A time step of at most 0.166666 s is stable.")) << detail.toStdString();
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_TRUE(volume->particleCountFieldNames().isEmpty());
}

TEST_F(RandomWalkStep, MissingAndUnreadableParametersGiveTheirCodes)
{
    EXPECT_EQ(run(without(randomWalkDoping(kNDoped), "Doping Threshold")), StepMissingParameter);
    EXPECT_TRUE(detail.contains("Doping Threshold"));
    ProcessData bad = randomWalkDoping(kNDoped);
    bad.setProcessParameter("Cell Size", QStringLiteral("small"));
    EXPECT_EQ(run(bad), StepInvalidParameter);
    EXPECT_TRUE(detail.contains("Cell Size"));
    bad.setProcessParameter("Cell Size", -1e-7);
    EXPECT_EQ(run(bad), StepInvalidParameter);
    EXPECT_TRUE(detail.contains("cell size")) << detail.toStdString();
}
