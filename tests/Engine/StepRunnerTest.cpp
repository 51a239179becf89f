// One step at a time: dispatch and result codes, required and unusable parameters, each runner's
// cells beside its automaton's entry point, and what it records in the volume history.

#include "BatchTestSupport.h"
#include "common/Observers.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtching.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"
#include "Core/Operations/Doping/IonImplantation.h"
#include "Core/Operations/Doping/SimpleDoping.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/Electrodeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtching.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDeposition.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtching.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Planarization/Planarization.h"
#include "Core/Operations/Planarization/SpinCoating.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidation.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"
#include "Core/Operations/SiWetEtching/ContinuousWetEtching.h"
#include "Engine/StepRunner.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/SiLattice/SiLattice.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using VolumePtr = std::shared_ptr<TotalVolume>;

namespace {

constexpr uint32_t kResist = 11; // "Photoresist +"

struct StepRunnerTest : ::testing::Test {
    // Runs `step` on `volume` (which a "Create Substrate" step may replace).
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, saver, QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }
    bool hasLastStep() { return model.volumeHistory().hasLastStep(volume->objectId()); }
    uint32_t lastStep() { return model.volumeHistory().lastStep(volume->objectId()); }
    bool latticeOutOfDate() { return model.volumeHistory().isLatticeOutOfDate(volume->objectId()); }

    Core::ApplicationModel model;
    VolumePtr volume;
    ImageSaver saver;
    QString detail;
};

// Silicon below z = 3 and below z = 8 for x < 4 (a wall facing +x) under an aluminium cap.
VolumePtr wallVolume()
{
    return TestSupport::volumeOf(10, 4, 12, [](uint32_t x, uint32_t, uint32_t z) {
        return z < 3 || (x < 4 && z < 8) ? kSilicon : x < 4 && z == 8 ? kAluminium : 0u;
    });
}

// Silicon below z = 6 with an oxide layer at z = 3.
VolumePtr layeredVolume()
{
    return TestSupport::volumeOf(5, 3, 9, [](uint32_t, uint32_t, uint32_t z) {
        return z == 3 ? kOxide : z < 6 ? kSilicon : 0u;
    });
}

// Silicon z < 2 under resist 2 <= z < 4.
VolumePtr resistVolume()
{
    return TestSupport::volumeOf(6, 3, 6, [](uint32_t, uint32_t, uint32_t z) {
        return z < 2 ? kSilicon : z < 4 ? kResist : 0u;
    });
}

// A photolithography step as the dialog writes it: a top mask covering x < covered, no bottom mask.
ProcessData lithography(uint32_t width, uint32_t height, uint32_t covered)
{
    QVector<bool> top(int(6 * 3), false); // always the bits of a 6 × 3 mask
    for (uint32_t x = 0; x < covered; ++x)
        for (uint32_t y = 0; y < 3; ++y)
            top[int(x * 3 + y)] = true;
    ProcessData s = step(PhotolithographyType, {{P::kTopMaskWidth, width}, {P::kTopMaskHeight, height},
                                                {P::kTopMaskFile, QStringLiteral("top.png")}, {P::kBottomMaskWidth, 0u},
                                                {P::kBottomMaskHeight, 0u}, {P::kBottomMaskFile, QString()}},
                         {{P::kMaterial, kResist}});
    s.addProcessParameter(P::kTopMask, QVariant::fromValue(top), false);
    s.addProcessParameter(P::kBottomMask, QVariant::fromValue(QVector<bool>()), false);
    return s;
}

} // namespace

// --- Result codes and dispatch

TEST_F(StepRunnerTest, DispatchesEveryKnownTypeAndRefusesTheOthers)
{
    EXPECT_EQ(stepResultText(5), stepResultText(StepUnknownProcess));
    EXPECT_EQ(stepResultText(-1), stepResultText(StepUnknownProcess));
    // An empty step is refused for its parameters (or runs on its defaults), never "not implemented".
    for (uint32_t type = 0; type <= kLastProcessType; ++type) {
        volume = flatVolume(2, 2, 2, 1);
        EXPECT_NE(run(ProcessData(type)), StepNotImplemented) << type;
    }
    EXPECT_EQ(run(ProcessData(21)), StepUnknownProcess);
    EXPECT_EQ(run(ProcessData(ProcessData::kInvalidType)), StepUnknownProcess);
    volume.reset();
    EXPECT_EQ(run(ProcessData(21)), StepUnknownProcess);
    // A step on no volume is refused without a crash.
    EXPECT_EQ(run(deposition(kOxide, 1.0)), StepMissingParameter);
    EXPECT_FALSE(detail.isEmpty());
}

// --- Parameters that are missing or cannot be used leave the cells and the history as they were

TEST_F(StepRunnerTest, MissingParametersGiveOneAndNameTheParameter)
{
    const ProcessData byTime = oxidationByTime(1.0, 1.0, 1273.15, 1.0);
    // Without its file name too: a named image would be read in place of the missing bits.
    const ProcessData unnamedMask = without(lithography(6, 3, 2), P::kTopMaskFile);
    const struct {
        ProcessData step;
        QString name;
    } cases[] = {
        {without(deposition(kOxide, 1.0), "Material_Id"), "Material_Id"},
        {with(deposition(kOxide, 1.0), "Material_Id", QVariant()), "Material_Id"}, // an invalid value counts as missing
        {with(without(deposition(kOxide, 1.0), "Material_Id"), P::kFilmThickness, "thick"), "Material_Id"}, // missing wins
        {without(deposition(kOxide, 1.0, CvdType), P::kThickness), P::kThickness},
        {without(etching(kSilicon, 1.0), P::kDepth), P::kDepth},
        {without(electroplating(kSilicon, kOxide, 1.0), "Conducting Material_Id"), "Conducting Material_Id"},
        {without(electroplating(kSilicon, kOxide, 1.0), "Deposited Material_Id"), "Deposited Material_Id"},
        {without(anisotropicDeposition(kOxide, 1.0, 0.5), P::kHorizontalToVerticalRatio), P::kHorizontalToVerticalRatio},
        {without(anisotropicEtching(kSilicon, 1.0, 0.5), P::kEtchDepth), P::kEtchDepth},
        {without(pvd(kOxide, 1.0, 0.5, 1), P::kDepositOnValue), P::kDepositOnValue},
        {without(pvd(kOxide, 1.0, 0.5, 1), "Material_Id"), "Material_Id"},
        {without(simpleRie(kSilicon, 1, 1), P::kEtchDirectionValue), P::kEtchDirectionValue},
        {without(simpleRie(kSilicon, 1, 1), P::kEtchDepth), P::kEtchDepth},
        {without(doping(kNDoped, 1.f), P::kDopingDepth), P::kDopingDepth},
        {without(doping(kNDoped, 1.f), "Doped Material_Id"), "Doped Material_Id"},
        {without(ionImplantation(kPDoped, 1.f, 0.f, 1.f), P::kAnnealingDistance), P::kAnnealingDistance},
        {without(ionImplantation(kPDoped, 1.f, 0.f, 1.f), P::kImplantationDepth), P::kImplantationDepth},
        {without(ionImplantation(kPDoped, 1.f, 0.f, 1.f), P::kVerticalSpread), P::kVerticalSpread},
        {without(ionImplantation(kPDoped, 1.f, 0.f, 1.f), "Doped Material_Id"), "Doped Material_Id"},
        {without(byTime, P::kMicronConversion), P::kMicronConversion},
        {without(byTime, P::kOxidationPressure), P::kOxidationPressure},
        {without(byTime, P::kOxidationTemperature), P::kOxidationTemperature},
        {without(byTime, P::kOxidationTime), P::kOxidationTime},
        {without(byTime, P::kOxidationTimeSet), P::kOxidationTimeSet},
        {without(byTime, P::kOxidationThickness), P::kOxidationThickness},
        {without(mooreDeposition(kOxide, 2), P::kThickness), P::kThickness},
        {without(mooreEtching(kSilicon, 2), "Material_Id"), "Material_Id"},
        {without(planarization(8, 1), P::kMinimumHeight), P::kMinimumHeight},
        {without(pour(kOxide, 8), P::kMaximumHeight), P::kMaximumHeight},
        {without(randomWalkDoping(kNDoped), P::kDopingThreshold), P::kDopingThreshold},
        {ProcessData(SiWetEtchingType), P::kDepth},
        {without(unnamedMask, P::kTopMask), P::kTopMask},
        {without(unnamedMask, P::kTopMaskWidth), P::kTopMaskWidth},
        {without(unnamedMask, P::kBottomMaskHeight), P::kBottomMaskHeight},
        {without(lithography(6, 3, 2), "Material_Id"), "Material_Id"},
    };
    volume = resistVolume();
    const auto before = materialsOf(*volume);
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.step));
        EXPECT_EQ(run(c.step), StepMissingParameter);
        EXPECT_TRUE(detail.contains(c.name)) << detail.toStdString();
    }
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(hasLastStep());
    EXPECT_FALSE(volume->siLattice());
}

TEST_F(StepRunnerTest, ValuesThatDoNotConvertOrAreOutOfRangeGiveTwo)
{
    const ProcessData byTime = oxidationByTime(1.0, 1.0, 1273.15, 1.0);
    const struct {
        ProcessData step;
        QString inDetail; // empty: not checked
    } cases[] = {
        {with(deposition(kOxide, 1.0), P::kFilmThickness, "thick"), P::kFilmThickness},
        {with(etching(kSilicon, 1.0), "Material_Id", "-3"), ""},
        {deposition(kOxide, -2.0), ""},
        {pvd(kOxide, 1.0, 0.5, 4), P::kDepositOnValue},
        {pvd(kOxide, 1.0, 0.5, 0), ""},
        {simpleRie(kSilicon, 1, 4), ""},
        {simpleRie(kSilicon, 1, -1), ""},
        {with(simpleRie(kSilicon, 1, 1), P::kEtchDepth, "deep"), ""},
        {anisotropicEtching(kSilicon, -1.0, 0.5), ""},
        {with(anisotropicDeposition(kOxide, 1.0, 0.5), P::kHorizontalToVerticalRatio, "nan"), ""},
        {doping(kNDoped, -1.f), ""},
        {with(doping(kNDoped, 1.f), "Doped Material_Id", "silicon"), ""},
        {ionImplantation(kPDoped, 1.f, -0.5f, 1.f), P::kVerticalSpread},
        {with(ionImplantation(kPDoped, 1.f, 0.f, 1.f), P::kAnnealingDistance, "long"), ""},
        {with(byTime, P::kOxidationTemperature, "hot"), ""},
        {with(byTime, P::kOxidationTemperature, -5.0), P::kOxidationTemperature},
        {with(byTime, P::kOxidationTime, -1.0), ""},
        {with(byTime, P::kMicronConversion, 0.0), ""},
        {with(oxidationToThickness(1.0, 0.1), P::kOxidationThickness, qQNaN()), ""},
        {with(mooreEtching(kSilicon, 2), P::kDepth, "deep"), ""},
        {with(planarization(8, 1), P::kMaximumHeight, "-1"), ""},
        {with(randomWalkDoping(kNDoped), P::kCellSize, "small"), P::kCellSize},
        {with(randomWalkDoping(kNDoped), P::kCellSize, -1e-7), "cell size"},
        {randomWalkDoping(kNDoped, 100.0, 0.2), "The time step is too long"},
        {randomWalkDoping(kNDoped, 100.0, 0.2), "A time step of at most 0.166666 s is stable."},
        {wetEtch("deep"), ""},
        {wetEtch(-1.0), ""},
        {lithography(5, 3, 2), "Invalid value of: Top Mask (18 bits for a 5 \u00d7 3 mask)"},
    };
    volume = resistVolume();
    const auto before = materialsOf(*volume);
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.step));
        EXPECT_EQ(run(c.step), StepInvalidParameter);
        EXPECT_TRUE(detail.contains(c.inDetail)) << detail.toStdString();
    }
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(hasLastStep());
    EXPECT_TRUE(volume->particleCountFieldNames().isEmpty());
    EXPECT_FALSE(volume->siLattice());
}

// --- Each runner gives the cells of its automaton's entry point and records its operation

TEST_F(StepRunnerTest, EachRunnerGivesTheCellsOfItsEntryPointAndRecordsItsOperation)
{
    enum Lattice { Kept, Marked, Unchecked };
    auto flat = [] { return flatVolume(6, 6, 30, 12); };
    auto oxideOnSilicon = [] {
        return TestSupport::volumeOf(5, 5, 12, [](uint32_t, uint32_t, uint32_t z) {
            return z < 4 ? kSilicon : z < 6 ? kOxide : 0u;
        });
    };
    const struct {
        std::function<VolumePtr()> make;
        ProcessData step;
        std::function<void(TotalVolume &)> direct;
        uint32_t recorded;
        Lattice lattice;
        bool changes;
    } cases[] = {
        {wallVolume, deposition(kOxide, 2.3), [](TotalVolume &v) { depositIsotropicFilm(v, kOxide, 2.3f); },
         IsotropicDepositionId, Kept, true},
        {wallVolume, deposition(kSilicon, 3.0, CvdType), [](TotalVolume &v) { depositIsotropicFilm(v, kSilicon, 3.f); },
         IsotropicDepositionId, Marked, true},
        {wallVolume, etching(kSilicon, 1.9), [](TotalVolume &v) { etchIsotropicFilm(v, kSilicon, 1.9f); },
         IsotropicEtchingId, Marked, true},
        // Etching a material that is not there changes nothing and leaves the lattice flag.
        {wallVolume, etching(kOxide, 3.0), [](TotalVolume &) {}, IsotropicEtchingId, Kept, false},
        // Electroplating never marks the lattice, even when it plates silicon.
        {wallVolume, electroplating(kAluminium, kSilicon, 2.0),
         [](TotalVolume &v) { electroplate(v, kSilicon, kAluminium, 2.f); }, ElectroplatingId, Kept, true},
        {wallVolume, anisotropicDeposition(kOxide, 2.0, 0.5),
         [](TotalVolume &v) { depositAnisotropicFilm(v, kOxide, 2.f, 0.5f); }, AnisotropicDepositionId, Unchecked, true},
        // A negative ratio is no error: the film grows only vertically.
        {wallVolume, anisotropicDeposition(kOxide, 2.0, -1.0),
         [](TotalVolume &v) { depositAnisotropicFilm(v, kOxide, 2.f, -1.f); }, AnisotropicDepositionId, Unchecked, true},
        {wallVolume, anisotropicEtching(kSilicon, 2.0, 0.0),
         [](TotalVolume &v) { etchAnisotropicFilm(v, kSilicon, 2.f, 0.f); }, AnisotropicEtchingId, Marked, true},
        {wallVolume, pvd(kAluminium, 1.0, 0.5, 1),
         [](TotalVolume &v) { depositPhysicalVapor(v, kAluminium, 1.f, 0.5f, 1); }, PvdId, Unchecked, true},
        {wallVolume, simpleRie(kSilicon, 3, 1),
         [](TotalVolume &v) { etchReactiveIons(v, kSilicon, 3, SimpleReactiveIonEtching::kFromTop); }, SimpleRieId,
         Unchecked, true},
        {layeredVolume, doping(kNDoped, 2.f), [](TotalVolume &v) { dopeByDiffusion(v, kNDoped, 2.f); }, DopingId,
         Marked, true},
        {layeredVolume, ionImplantation(kPDoped, 2.f, 0.f, 1.f),
         [](TotalVolume &v) { implantIons(v, kPDoped, 2.f, 0.f, 1.f); }, IonImplantationId, Marked, true},
        {flat, oxidationByTime(50.0, 2.0, 1373.15, 1.0),
         [](TotalVolume &v) { growOxideByTime(v, 50.0, 2.0, 1373.15, 1.0); }, SiOxidationId, Marked, true},
        {flat, oxidationToThickness(20.0, 0.3), [](TotalVolume &v) { growOxideByThickness(v, 20.0, 0.3); },
         SiOxidationId, Marked, true},
        {flat, mooreDeposition(kOxide, 3), [](TotalVolume &v) { depositMooreFilm(v, kOxide, 3); }, MooreDepositionId,
         Kept, true},
        {wallVolume, mooreEtching(kAluminium, 1), [](TotalVolume &v) { etchMooreFilm(v, kAluminium, 1); },
         MooreEtchingId, Kept, true},
        // Silicon out of reach of the etch is not etched, yet the step counts as a silicon step.
        {oxideOnSilicon, mooreEtching(kSilicon, 5), [](TotalVolume &v) { etchMooreFilm(v, kSilicon, 5); },
         MooreEtchingId, Marked, false},
        {flat, pour(kOxide, 17), [](TotalVolume &v) { pourMaterial(v, kOxide, 17); }, PourMaterialId, Kept, true},
        {wallVolume, planarization(5, 2), [](TotalVolume &v) { planarize(v, 5, 2); }, PlanarizationId, Marked, true},
        // The depth as text, as a list file may give it, reads as well.
        {flat, wetEtch(QStringLiteral("1.75")), [](TotalVolume &v) { ASSERT_TRUE(etchSiAtomistic(v, 1.75)); },
         SiWetEtchingId, Kept, true},
        {flat, wetEtch(1.75, SiWetEtchingCcaType), [](TotalVolume &v) { ASSERT_TRUE(etchSiContinuous(v, 1.75)); },
         SiWetEtchingCcaId, Unchecked, true},
        // Worked by hand: the resist goes from the columns the mask leaves open.
        {resistVolume, lithography(6, 3, 2),
         [](TotalVolume &v) {
             for (uint32_t x = 2; x < 6; ++x)
                 for (uint32_t y = 0; y < 3; ++y)
                     for (uint32_t z = 2; z < 4; ++z)
                         TestSupport::setMaterialAt(v, x, y, z, 0);
         },
         PhotolithographyId, Kept, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.step));
        volume = c.make();
        model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
        auto expected = c.make();
        c.direct(*expected);
        ASSERT_EQ(run(c.step), StepSucceeded) << detail.toStdString();
        EXPECT_EQ(materialsOf(*volume), materialsOf(*expected));
        EXPECT_EQ(materialsOf(*volume) != materialsOf(*c.make()), c.changes);
        EXPECT_EQ(lastStep(), c.recorded);
        if (c.lattice != Unchecked) {
            EXPECT_EQ(latticeOutOfDate(), c.lattice == Marked);
        }
    }
}

// The runners must count lengths as the interactive operations do: on cells that are not cubes,
// with lengths that are not whole numbers of cells.
TEST_F(StepRunnerTest, MatchesTheInteractiveOperations)
{
    auto uneven = [] {
        auto cubes = TestSupport::volumeOf(12, 9, 14, [](uint32_t x, uint32_t, uint32_t z) {
            const uint32_t top = x % 4 == 0 ? 5 : 3;
            return z < top ? kSilicon : x % 4 == 0 && z == top ? kAluminium : 0u;
        });
        return std::make_shared<TotalVolume>(12, 9, 14, 0.7f, 1.3f, 0.9f, Util::Vector3D(), materialsOf(*cubes));
    };
    // Runs `op` interactively on a fresh volume, its options set by `configure`; the cells after it.
    auto interactive = [&](auto make, auto configure, uint32_t expectedHistory) {
        Core::ApplicationModel interactiveModel;
        auto reference = uneven();
        interactiveModel.scene().addObject(reference);
        auto op = make(&interactiveModel);
        auto *raw = op.get();
        op->setOptionsObserver(std::make_shared<TestSupport::CallObserver>([raw, configure] { configure(*raw); }));
        interactiveModel.startOperation(op);
        EXPECT_EQ(interactiveModel.volumeHistory().lastStep(reference->objectId()), expectedHistory);
        return materialsOf(*reference);
    };
    auto batch = [&](const ProcessData &step) {
        volume = uneven();
        EXPECT_EQ(run(step), StepSucceeded) << detail.toStdString();
        EXPECT_NE(materialsOf(*volume), materialsOf(*uneven()));
        return materialsOf(*volume);
    };
    using Deposit = IsotropicFilmDepositionOperation;
    using Etch = IsotropicFilmEtchingOperation;
    using Plate = ElectrodepositionOperation;
    EXPECT_EQ(batch(deposition(kOxide, 2.3, CvdType)),
              interactive([](Core::ApplicationModel *m) { return std::make_shared<Deposit>(m, "CVD"); },
                          [](Deposit &op) { op.setThickness(2.3f); op.setMaterial(kOxide); }, IsotropicDepositionId));
    EXPECT_EQ(batch(etching(kSilicon, 1.9)),
              interactive([](Core::ApplicationModel *m) { return std::make_shared<Etch>(m); },
                          [](Etch &op) { op.setDepth(1.9f); op.setMaterial(kSilicon); }, IsotropicEtchingId));
    EXPECT_EQ(batch(electroplating(kAluminium, kCopper, 2.6)),
              interactive([](Core::ApplicationModel *m) { return std::make_shared<Plate>(m); },
                          [](Plate &op) {
                              op.setThickness(2.6f);
                              op.setConductingMaterial(kAluminium);
                              op.setDepositedMaterial(kCopper);
                          },
                          ElectroplatingId));
}

TEST_F(StepRunnerTest, OxidationWithNeitherModeChangesNothingAndIgnoresTheOtherModesValues)
{
    volume = flatVolume(4, 3, 30, 12);
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(oxidation(1.0)), StepSucceeded);
    EXPECT_EQ(run(without(oxidation(1.0), P::kOxidationThicknessSet)), StepSucceeded) << "the flag is optional";
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(hasLastStep());
    // The values of the other mode are not used and need only be present.
    EXPECT_EQ(run(with(oxidationToThickness(1.0, 0.1), P::kOxidationTemperature, -5.0)), StepSucceeded);
}

TEST_F(StepRunnerTest, RandomWalkDopesTheErfcDepthAndLeavesItsField)
{
    volume = flatVolume(1, 1, 61, 60); // a silicon column under one empty cell
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(randomWalkDoping(kNDoped)), StepSucceeded) << detail.toStdString();
    // erfc(x / (2√(Dt))) = 0.1 at 23.3 cells below the surface cell.
    EXPECT_EQ(countInColumn(*volume, 0, 0, kNDoped), 24u);
    EXPECT_EQ(volume->particleCountFieldNames(), QStringList{Model::Automaton::ParticleCountField::kTypeNName});
    EXPECT_EQ(lastStep(), uint32_t(RandomWalkDopingId));
    EXPECT_TRUE(latticeOutOfDate());
}

TEST_F(StepRunnerTest, WetEtchingKeepsACurrentLatticeAndRebuildsAnOutOfDateOne)
{
    volume = flatVolume(6, 6, 8, 5);
    ASSERT_EQ(run(wetEtch(0.35)), StepSucceeded);
    const auto lattice = volume->siLattice();
    ASSERT_TRUE(lattice);
    ASSERT_EQ(run(wetEtch(0.35)), StepSucceeded);
    EXPECT_EQ(volume->siLattice(), lattice);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    ASSERT_EQ(run(wetEtch(0.35)), StepSucceeded);
    EXPECT_NE(volume->siLattice(), lattice);
    EXPECT_FALSE(latticeOutOfDate());
}

// --- Create Substrate

TEST_F(StepRunnerTest, CreateSubstrateBuildsABoxOrASphereAndMakesItTheRunVolume)
{
    volume = flatVolume(2, 2, 2, 1);
    const auto old = volume;
    ProcessData box = with(boxSubstrate(5, 4, 6, 3), "Substrate Delta X", 1u);
    box.setProcessParameter(P::kLowerLeftFrontCorner, QVariant::fromValue(Util::Vector3D(1, 2, 3)));
    ASSERT_EQ(run(box), StepSucceeded);
    ASSERT_NE(volume, old);
    EXPECT_EQ(volume->sizeX(), 5u);
    EXPECT_EQ(volume->sizeY(), 4u);
    EXPECT_EQ(volume->sizeZ(), 6u);
    EXPECT_EQ(volume->origin(), Util::Vector3D(1, 2, 3));
    EXPECT_EQ(countInColumn(*volume, 0, 0, kSilicon), 0u); // displaced by one cell along x
    EXPECT_EQ(countInColumn(*volume, 1, 0, kSilicon), 3u);
    EXPECT_EQ(countInColumn(*volume, 4, 3, kSilicon), 3u);
    ASSERT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.scene().objects()[0], volume);
    EXPECT_FALSE(hasLastStep());

    // The dialog hands the corner over as a list.
    ASSERT_EQ(run(with(boxSubstrate(2, 2, 2, 1), P::kLowerLeftFrontCorner, QVariantList{0.5, -1.0, 2.0})), StepSucceeded);
    EXPECT_EQ(volume->origin(), Util::Vector3D(0.5, -1, 2));

    ProcessData sphere = with(boxSubstrate(9, 9, 9, 0, kOxide), P::kSphericalSubstrate, true);
    for (const char *centre : P::kSubstrateCenter)
        sphere.setProcessParameter(centre, 4u);
    sphere.setProcessParameter(P::kSubstrateRadius, 2u);
    ASSERT_EQ(run(sphere), StepSucceeded);
    EXPECT_EQ(materialAt(*volume, 4, 4, 6), kOxide);
    EXPECT_EQ(materialAt(*volume, 4, 4, 7), 0u);
    EXPECT_EQ(materialAt(*volume, 6, 6, 4), 0u);
    EXPECT_EQ(countInColumn(*volume, 4, 4, kOxide), 5u);
}

TEST_F(StepRunnerTest, CreateSubstrateRefusesMissingAndBadSizesAndBuildsNothing)
{
    ProcessData huge = boxSubstrate(4, 4, 4, 2);
    for (const char *size : P::kVolumeSize)
        huge.setProcessParameter(size, 100000u);
    const struct {
        ProcessData step;
        int code;
        QString detailStart;
    } cases[] = {
        {without(boxSubstrate(4, 4, 4, 2), "Volume Size Y"), StepMissingParameter, "Volume Size Y"},
        {without(boxSubstrate(4, 4, 4, 2), P::kLowerLeftFrontCorner), StepMissingParameter, ""},
        {without(boxSubstrate(4, 4, 4, 2), "Material_Id"), StepMissingParameter, ""},
        {with(boxSubstrate(4, 4, 4, 2), P::kLowerLeftFrontCorner, "here"), StepInvalidParameter, ""},
        {boxSubstrate(4, 0, 4, 2), StepInvalidParameter, ""},
        {huge, StepInvalidParameter, "Volume too large."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.step));
        EXPECT_EQ(run(c.step), c.code);
        EXPECT_TRUE(detail.contains(c.detailStart)) << detail.toStdString();
        EXPECT_FALSE(volume);
        EXPECT_TRUE(model.scene().objects().isEmpty());
    }
    EXPECT_TRUE(detail.startsWith("Volume too large.")) << detail.toStdString();
}

// --- Save Image

TEST_F(StepRunnerTest, SaveImageHandsTheFilenameToTheSaverAndReportsItsFailure)
{
    volume = flatVolume(2, 2, 2, 1);
    QStringList asked;
    QString failure;
    saver = [&](const QString &filename) {
        asked << filename;
        return failure;
    };
    EXPECT_EQ(run(saveImage("/tmp/picture.png")), StepSucceeded);
    EXPECT_EQ(asked, QStringList{"/tmp/picture.png"});
    EXPECT_FALSE(hasLastStep());

    EXPECT_EQ(run(ProcessData(SaveImageType)), StepMissingParameter);
    EXPECT_EQ(asked.size(), 1) << "no filename, no call";

    failure = "The disk is full.";
    EXPECT_EQ(run(saveImage("a.png")), StepInvalidParameter);
    EXPECT_EQ(detail, failure);
    saver = nullptr;
    EXPECT_EQ(run(saveImage("a.png")), StepInvalidParameter);
    EXPECT_FALSE(detail.isEmpty());
}
