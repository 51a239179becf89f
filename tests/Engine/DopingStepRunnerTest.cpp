// The step runners of doping and ion implantation: their result codes, the cells of the automaton
// they run, and the volume history and lattice flag they record.

#include "BatchTestSupport.h"
#include "DopingSteps.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/Doping/IonImplantation.h"
#include "Core/Operations/Doping/SimpleDoping.h"
#include "Core/Operations/OperationIds.h"
#include "Engine/StepRunner.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

constexpr uint32_t kNDoped = 14;
constexpr uint32_t kPDoped = 15;

struct DopingStepRunner : ::testing::Test {
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, saver, QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }

    // Silicon below z = 6 with an oxide layer at z = 3, in 5 × 3 × 9 unit cells.
    static std::shared_ptr<TotalVolume> layeredVolume()
    {
        auto volume = flatVolume(5, 3, 9, 6, kSilicon);
        auto *cells = volume->lockCells();
        for (uint32_t x = 0; x < 5; ++x)
            for (uint32_t y = 0; y < 3; ++y)
                cells[volume->cellIndex(x, y, 3)].setMaterial(kOxide);
        volume->unlockCells();
        return volume;
    }

    // Runs `step` on a fresh volume and `direct` on another; both must give the same cells.
    template <typename Direct>
    void expectSameCellsAs(const ProcessData &step, uint32_t recordedId, Direct direct)
    {
        volume = layeredVolume();
        model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
        auto expected = layeredVolume();
        direct(*expected);
        ASSERT_EQ(run(step), StepSucceeded) << detail.toStdString();
        EXPECT_EQ(materialsOf(*volume), materialsOf(*expected));
        EXPECT_NE(materialsOf(*volume), materialsOf(*layeredVolume()));
        EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), recordedId);
        EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    }

    Core::ApplicationModel model;
    std::shared_ptr<TotalVolume> volume;
    ImageSaver saver;
    QString detail;
};

} // namespace

TEST_F(DopingStepRunner, EachStepRunsItsAutomatonAndRecordsItsOperation)
{
    expectSameCellsAs(doping(kNDoped, 2.f), DopingId, [](TotalVolume &v) { dopeByDiffusion(v, kNDoped, 2.f); });
    // Two layers below the surface; the oxide at z = 3 and everything under it untouched.
    EXPECT_EQ(countInColumn(*volume, 2, 1, kNDoped), 2u);
    EXPECT_EQ(materialAt(*volume, 2, 1, 4), kNDoped);
    EXPECT_EQ(materialAt(*volume, 2, 1, 3), kOxide);

    expectSameCellsAs(ionImplantation(kPDoped, 2.f, 0.f, 1.f), IonImplantationId,
                      [](TotalVolume &v) { implantIons(v, kPDoped, 2.f, 0.f, 1.f); });
    // The band at k = 2 (z = 4), annealed one cell up; down is the oxide.
    EXPECT_EQ(countInColumn(*volume, 2, 1, kPDoped), 2u);
    EXPECT_EQ(materialAt(*volume, 2, 1, 5), kPDoped);
    EXPECT_EQ(materialAt(*volume, 2, 1, 4), kPDoped);
    EXPECT_EQ(materialAt(*volume, 2, 1, 2), kSilicon);
}

TEST_F(DopingStepRunner, MissingParametersGiveOne)
{
    volume = layeredVolume();
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(without(doping(kNDoped, 1.f), "Doping Depth")), StepMissingParameter);
    EXPECT_TRUE(detail.contains("Doping Depth")) << detail.toStdString();
    EXPECT_EQ(run(without(doping(kNDoped, 1.f), "Doped Material_Id")), StepMissingParameter);
    for (const char *name : {"Annealing Distance", "Implantation Depth", "Vertical Spread", "Doped Material_Id"}) {
        EXPECT_EQ(run(without(ionImplantation(kPDoped, 1.f, 0.f, 1.f), name)), StepMissingParameter) << name;
        EXPECT_TRUE(detail.contains(name)) << detail.toStdString();
    }
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(DopingStepRunner, ValuesThatAreNotLengthsGiveTwo)
{
    volume = layeredVolume();
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(doping(kNDoped, -1.f)), StepInvalidParameter);
    EXPECT_EQ(run(ionImplantation(kPDoped, 1.f, -0.5f, 1.f)), StepInvalidParameter);
    EXPECT_TRUE(detail.contains("Vertical Spread")) << detail.toStdString();
    ProcessData words = ionImplantation(kPDoped, 1.f, 0.f, 1.f);
    words.setProcessParameter("Annealing Distance", QString("long"));
    EXPECT_EQ(run(words), StepInvalidParameter);
    ProcessData badId = doping(kNDoped, 1.f);
    badId.setProcessParameter("Doped Material_Id", QString("silicon"));
    EXPECT_EQ(run(badId), StepInvalidParameter);
    EXPECT_EQ(materialsOf(*volume), before);
}
