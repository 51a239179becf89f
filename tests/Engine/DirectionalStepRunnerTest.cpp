// The step runners of anisotropic deposition and etching, PVD and simple RIE: their result codes,
// the cells of the automaton they run, and the volume history they record.

#include "BatchTestSupport.h"
#include "DirectionalSteps.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtching.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"
#include "Core/Operations/OperationIds.h"
#include "Engine/StepRunner.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

struct DirectionalStepRunner : ::testing::Test {
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, saver, QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }

    // Silicon below z = 3, and below z = 8 for x < 4: a wall facing +x.
    static std::shared_ptr<TotalVolume> wallVolume()
    {
        std::vector<uint32_t> materials(10 * 4 * 12, 0);
        for (uint32_t x = 0; x < 10; ++x)
            for (uint32_t y = 0; y < 4; ++y)
                for (uint32_t z = 0; z < 12; ++z)
                    materials[(x * 4 + y) * 12 + z] = z < 3 || (x < 4 && z < 8) ? kSilicon : 0u;
        return std::make_shared<TotalVolume>(10, 4, 12, 1.f, 1.f, 1.f, Util::Vector3D(), materials);
    }

    // Runs `step` on a fresh wall volume and `direct` on another; both must give the same cells.
    template <typename Direct>
    void expectSameCellsAs(const ProcessData &step, uint32_t recordedId, Direct direct)
    {
        volume = wallVolume();
        auto expected = wallVolume();
        direct(*expected);
        ASSERT_EQ(run(step), StepSucceeded) << detail.toStdString();
        EXPECT_EQ(materialsOf(*volume), materialsOf(*expected));
        EXPECT_NE(materialsOf(*volume), materialsOf(*wallVolume()));
        EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), recordedId);
    }

    Core::ApplicationModel model;
    std::shared_ptr<TotalVolume> volume;
    ImageSaver saver;
    QString detail;
};

} // namespace

TEST_F(DirectionalStepRunner, EachStepRunsItsAutomatonAndRecordsItsOperation)
{
    expectSameCellsAs(anisotropicDeposition(kOxide, 2.0, 0.5), AnisotropicDepositionId,
                      [](TotalVolume &v) { depositAnisotropicFilm(v, kOxide, 2.f, 0.5f); });
    // Hand-worked: two layers on the floor, one cell on the wall.
    EXPECT_EQ(countInColumn(*volume, 8, 1, kOxide), 2u);
    EXPECT_EQ(materialAt(*volume, 4, 1, 6), kOxide);
    EXPECT_EQ(materialAt(*volume, 5, 1, 6), 0u);

    expectSameCellsAs(anisotropicEtching(kSilicon, 2.0, 0.0), AnisotropicEtchingId,
                      [](TotalVolume &v) { etchAnisotropicFilm(v, kSilicon, 2.f, 0.f); });
    EXPECT_EQ(countInColumn(*volume, 1, 1, kSilicon), 6u);
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));

    expectSameCellsAs(pvd(kAluminium, 1.0, 0.5, 1), PvdId,
                      [](TotalVolume &v) { depositPhysicalVapor(v, kAluminium, 1.f, 0.5f, 1); });
    EXPECT_EQ(countInColumn(*volume, 1, 1, kAluminium), 1u);

    expectSameCellsAs(simpleRie(kSilicon, 3, 1), SimpleRieId,
                      [](TotalVolume &v) { etchReactiveIons(v, kSilicon, 3, SimpleReactiveIonEtching::kFromTop); });
    EXPECT_EQ(countInColumn(*volume, 1, 1, kSilicon), 5u);
    EXPECT_EQ(countInColumn(*volume, 7, 1, kSilicon), 0u);
}

TEST_F(DirectionalStepRunner, MissingParametersGiveOne)
{
    volume = wallVolume();
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(without(anisotropicDeposition(kOxide, 1.0, 0.5), "Horizontal to Vertical Ratio")),
              StepMissingParameter);
    EXPECT_TRUE(detail.contains("Horizontal to Vertical Ratio")) << detail.toStdString();
    EXPECT_EQ(run(without(anisotropicEtching(kSilicon, 1.0, 0.5), "Etch Depth")), StepMissingParameter);
    EXPECT_EQ(run(without(pvd(kOxide, 1.0, 0.5, 1), "DepositOn")), StepMissingParameter);
    EXPECT_EQ(run(without(pvd(kOxide, 1.0, 0.5, 1), "Material_Id")), StepMissingParameter);
    EXPECT_EQ(run(without(simpleRie(kSilicon, 1, 1), "EtchDirectionValue")), StepMissingParameter);
    EXPECT_EQ(run(without(simpleRie(kSilicon, 1, 1), "Etch Depth")), StepMissingParameter);
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(DirectionalStepRunner, ValuesOutOfTheirRangeGiveTwo)
{
    volume = wallVolume();
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(pvd(kOxide, 1.0, 0.5, 4)), StepInvalidParameter);
    EXPECT_TRUE(detail.contains("DepositOn")) << detail.toStdString();
    EXPECT_EQ(run(pvd(kOxide, 1.0, 0.5, 0)), StepInvalidParameter);
    EXPECT_EQ(run(simpleRie(kSilicon, 1, 4)), StepInvalidParameter);
    EXPECT_EQ(run(simpleRie(kSilicon, 1, -1)), StepInvalidParameter);
    EXPECT_EQ(run(anisotropicEtching(kSilicon, -1.0, 0.5)), StepInvalidParameter);

    ProcessData notANumber = anisotropicDeposition(kOxide, 1.0, 0.5);
    notANumber.setProcessParameter("Horizontal to Vertical Ratio", QString("nan"));
    EXPECT_EQ(run(notANumber), StepInvalidParameter);
    ProcessData words = simpleRie(kSilicon, 1, 1);
    words.setProcessParameter("Etch Depth", QString("deep"));
    EXPECT_EQ(run(words), StepInvalidParameter);
    EXPECT_EQ(materialsOf(*volume), before);
}

TEST_F(DirectionalStepRunner, ANegativeRatioGrowsOnlyVertically)
{
    volume = wallVolume();
    ASSERT_EQ(run(anisotropicDeposition(kOxide, 2.0, -1.0)), StepSucceeded);
    EXPECT_EQ(countInColumn(*volume, 8, 1, kOxide), 2u);
    EXPECT_EQ(materialAt(*volume, 4, 1, 6), 0u);
}
