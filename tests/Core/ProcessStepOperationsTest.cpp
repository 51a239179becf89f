// Every process step through the application model: console lines, history and lattice flag,
// undo stack, declined or incomplete dialogs, and exact undo and redo, interleaved steps too.

#include "StepRun.h"

#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtchingOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtchingOperation.h"
#include "Core/Operations/Doping/DopingOperation.h"
#include "Core/Operations/Doping/IonImplantationOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDepositionOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtchingOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "Core/Operations/Planarization/PlanarizationOperation.h"
#include "Core/Operations/Planarization/SpinCoatingOperation.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDopingOperation.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidationOperation.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Core/Operations/SiWetEtching/ContinousWetEtchOperation.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;
using CoreTest::startStep;

namespace {

constexpr uint32_t kResist = 11; // "Photoresist +"
constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;
constexpr uint32_t kPDoped = Model::Materials::kPDopedSiliconMaterial;

// Starts `Op` with a dialog that sets `options`, or with a declined dialog.
template <class Op>
std::function<void(Core::ApplicationModel &, bool)> step(std::function<void(Op &)> options)
{
    return [options](Core::ApplicationModel &model, bool accepted) {
        startStep<Op>(model, accepted ? options : nullptr);
    };
}

struct Step {
    std::string name;
    uint32_t kind;
    bool undoable;
    bool latticeOutOfDateAfter; // the lattice was current before
    std::function<void(Core::ApplicationModel &, bool accepted)> start;
    std::string cancelText = "Operation canceled.";
};

const std::vector<Step> &steps()
{
    static const std::vector<Step> table = {
        {"Moore film deposition", MooreDepositionId, true, false,
         step<MooreNeighborhoodDepositionOperation>([](auto &op) { op.setMaterial(kOxide); op.setLayers(2); })},
        {"Moore film etching", MooreEtchingId, true, true,
         step<MooreNeighborhoodEtchingOperation>([](auto &op) { op.setMaterial(kSilicon); op.setLayers(1); })},
        {"Planarization", PlanarizationId, false, true,
         step<PlanarizationOperation>([](auto &op) { op.setMaximumHeight(3); op.setMinimumHeight(0); }),
         "Operation canceled!"},
        {"Pour Material", PourMaterialId, false, false,
         step<SpinCoatingOperation>([](auto &op) { op.setMaterial(12); op.setHeight(6); })},
        {"Isotropic Deposition", IsotropicDepositionId, true, false,
         step<IsotropicFilmDepositionOperation>([](auto &op) { op.setThickness(2.f); op.setMaterial(kOxide); })},
        {"Isotropic Etching", IsotropicEtchingId, true, true,
         step<IsotropicFilmEtchingOperation>([](auto &op) { op.setDepth(1.f); op.setMaterial(kSilicon); })},
        {"Electroplating", ElectroplatingId, true, false, step<ElectrodepositionOperation>([](auto &op) {
             op.setThickness(2.f); op.setDepositedMaterial(kAluminium); op.setConductingMaterial(kAluminium);
         })},
        {"Doping", DopingId, true, true,
         step<DopingOperation>([](auto &op) { op.setDopingDepth(2.f); op.setDopedMaterial(kNDoped); })},
        {"Ion Implantation", IonImplantationId, false, true, step<IonImplantationOperation>([](auto &op) {
             op.setImplantationDepth(2.f); op.setVerticalSpread(0.f); op.setAnnealingDistance(0.f);
             op.setDopedMaterial(kPDoped);
         })},
        {"Anisotropic Deposition", AnisotropicDepositionId, true, false,
         step<AnisotropicFilmDepositionOperation>([](auto &op) {
             op.setThickness(2.f); op.setHorizontalRatio(0.5f); op.setMaterial(kOxide);
         })},
        {"Anisotropic Etching", AnisotropicEtchingId, true, true, step<AnisotropicFilmEtchingOperation>([](auto &op) {
             op.setDepth(1.f); op.setHorizontalRatio(0.5f); op.setMaterial(kSilicon);
         })},
        {"PVD", PvdId, true, false, step<SimplePhysicalVaporDepositionOperation>([](auto &op) {
             op.setThickness(1.f); op.setHorizontalRatio(0.5f); op.setMaterial(kAluminium);
             op.setSides(SimplePhysicalVaporDeposition::Top);
         })},
        {"Simple RIE", SimpleRieId, false, true,
         step<SimpleReactiveIonEtchingOperation>([](auto &op) { op.setDepth(2.7f); op.setMaterial(kSilicon); })},
        {"Photolithography", PhotolithographyId, false, false,
         step<PhotolithographyOperation>([](auto &op) { op.setMaterial(kResist); }), "Operation Canceled!"},
        {"Simple Si Oxidation", SiOxidationId, false, true, step<SimpleSiOxidationOperation>([](auto &op) {
             op.setMicronConversion(100.0); op.setOxidationTime(1.0); op.setOxidationTemperature(1273.15);
             op.setOxidationPressure(1.0); op.setOxidationTimeSet(true);
         })},
        {"Random Walk Doping", RandomWalkDopingId, true, true, step<RandomWalkDopingOperation>([](auto &op) {
             // 1 µm cells, 50 particles held at the surface, doped above 10; p = 0.5.
             op.setCellSize(1e-6); op.setTimeStepDuration(0.1); op.setDiffusionCoefficient(0.5e-12 / 0.6);
             op.setSurfaceConcentration(50.5e18); op.setDopingTime(0.4); op.setDopingThreshold(10.5e18);
             op.setDopedMaterial(kNDoped); op.setSeed(20261207);
         })},
        {"BCA Wet Etch", SiWetEtchingId, false, false,
         step<AtomisticSiWetEtchingOperation>([](auto &op) { op.setDepth(1.4); })},
        {"Continuous Wet Etch", SiWetEtchingCcaId, false, false,
         step<ContinousWetEtchOperation>([](auto &op) { op.setDepth(2.0); })},
    };
    return table;
}

const Step &stepNamed(const std::string &name)
{
    for (const auto &s : steps())
        if (s.name == name)
            return s;
    throw std::logic_error("no step " + name);
}

// The only object of the scene: silicon below z = 4 in 10 × 4 × 12 unit cells, with an
// aluminium pad on it at x < 2 and a resist pad at x ≥ 8; the lattice is current.
struct Scene : CoreTest::LoggedModel {
    Scene()
    {
        volume = volumeOf(10, 4, 12, [](uint32_t x, uint32_t, uint32_t z) -> uint32_t {
            if (z < 4)
                return kSilicon;
            return z > 4 ? 0u : x < 2 ? kAluminium : x >= 8 ? kResist : 0u;
        });
        model.scene().addObject(volume);
        model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    }

    std::shared_ptr<TotalVolume> volume;
};

struct ProcessStepOperations : ::testing::Test, Scene {};

} // namespace

TEST(ProcessStepOperationsTable, EveryStepRunsUnderItsNameAndIsRecorded)
{
    for (const Step &step : steps()) {
        SCOPED_TRACE(step.name);
        Scene fixture;
        auto &model = fixture.model;
        auto &volume = *fixture.volume;
        const auto before = materialsOf(volume);
        step.start(model, true);
        EXPECT_EQ(fixture.log->lines.front(), step.name + ": Cell volume selected.");
        EXPECT_EQ(fixture.log->last(), step.name + ": Operation finished.");
        EXPECT_EQ(model.currentOperation(), nullptr);
        const auto after = materialsOf(volume);
        ASSERT_NE(after, before);
        EXPECT_TRUE(model.isModified());
        EXPECT_EQ(model.volumeHistory().lastStep(volume.objectId()), step.kind);
        EXPECT_EQ(model.volumeHistory().isLatticeOutOfDate(volume.objectId()), step.latticeOutOfDateAfter);
        if (!step.undoable) {
            EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
            continue;
        }
        EXPECT_EQ(model.undoRedo().undoName(), step.name);
        ASSERT_TRUE(model.undoRedo().undo());
        EXPECT_EQ(materialsOf(volume), before);
        ASSERT_TRUE(model.undoRedo().redo());
        EXPECT_EQ(materialsOf(volume), after);
    }
}

TEST(ProcessStepOperationsTable, ADeclinedDialogCancelsAndChangesNothing)
{
    for (const Step &step : steps()) {
        SCOPED_TRACE(step.name);
        Scene fixture;
        const auto before = materialsOf(*fixture.volume);
        step.start(fixture.model, false);
        EXPECT_EQ(fixture.log->last(), step.name + ": " + step.cancelText);
        EXPECT_EQ(materialsOf(*fixture.volume), before);
        EXPECT_EQ(fixture.model.undoRedo().undoDepth(), 0u);
        EXPECT_FALSE(fixture.model.isModified());
        EXPECT_FALSE(fixture.model.volumeHistory().hasLastStep(fixture.volume->objectId()));
        EXPECT_EQ(fixture.model.currentOperation(), nullptr);
    }
}

TEST_F(ProcessStepOperations, StepsWithAParameterMissingCancel)
{
    const auto before = materialsOf(*volume);
    startStep<IonImplantationOperation>(model, [](IonImplantationOperation &op) {
        op.setImplantationDepth(2.f); op.setAnnealingDistance(0.f); op.setDopedMaterial(kPDoped); // no spread
    });
    EXPECT_EQ(log->last(), "Ion Implantation: Operation canceled.");
    startStep<SimplePhysicalVaporDepositionOperation>(model, [](SimplePhysicalVaporDepositionOperation &op) {
        op.setThickness(1.f); op.setHorizontalRatio(1.f); op.setMaterial(kOxide); // no side
    });
    EXPECT_EQ(log->last(), "PVD: Operation canceled.");
    startStep<SimpleSiOxidationOperation>(model, [](SimpleSiOxidationOperation &op) {
        // Values for both modes, but neither mode chosen.
        op.setOxidationThickness(0.1); op.setOxidationTime(1.0); op.setOxidationTemperature(1273.15);
        op.setOxidationPressure(1.0);
    });
    EXPECT_EQ(log->last(), "Simple Si Oxidation: Operation canceled.");
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.isModified());
}

// Moore deposition and etching keep their records under one snapshot name, and so do PVD and
// isotropic deposition: undo and redo of interleaved steps must find each step's own record.
TEST_F(ProcessStepOperations, UndoAndRedoOfInterleavedStepsRestoreTheirOwnCells)
{
    std::vector<std::vector<uint32_t>> states = {materialsOf(*volume)};
    const auto run = [this](const char *name) { return [this, name] { stepNamed(name).start(model, true); }; };
    const std::vector<std::function<void()>> sequence = {
        run("Moore film deposition"),
        [this] {
            startStep<MooreNeighborhoodEtchingOperation>(model, [](auto &op) {
                op.setMaterial(kOxide);
                op.setLayers(1);
            });
        },
        run("Moore film deposition"), run("Isotropic Deposition"), run("PVD"), run("Isotropic Deposition"),
    };
    for (const auto &next : sequence) {
        next();
        states.push_back(materialsOf(*volume));
        ASSERT_NE(states.back(), states[states.size() - 2]) << "step " << states.size() - 1;
    }
    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(model.undoRedo().undo());
        EXPECT_EQ(materialsOf(*volume), states[i - 1]) << "undo to " << i - 1;
    }
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(model.undoRedo().redo());
        EXPECT_EQ(materialsOf(*volume), states[i]) << "redo to " << i;
    }

    // After an undo, a new step of the same kind replaces the redo branch; undoing it comes
    // back to the same state again.
    ASSERT_TRUE(model.undoRedo().undo());
    stepNamed("Isotropic Deposition").start(model, true);
    EXPECT_EQ(model.undoRedo().redoDepth(), 0u);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), states[states.size() - 2]);
}
