#include "StepRunner.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtching.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"
#include "Core/Operations/CreateSubstrate/SubstrateBuilder.h"
#include "Core/Operations/Doping/IonImplantation.h"
#include "Core/Operations/Doping/SimpleDoping.h"
#include "Core/Operations/IsotropicFilmDeposition/Electrodeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtching.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDeposition.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtching.h"
#include "Core/Operations/Planarization/Planarization.h"
#include "Core/Operations/Planarization/SpinCoating.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Photolithography/Photolithography.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDoping.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidation.h"
#include "Core/Operations/SiWetEtching/ContinuousWetEtching.h"
#include "Core/Operations/SiWetEtching/SiLatticeUpkeep.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"
#include "Model/Masks/ImageMask.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "Engine/StepRunnerSupport.h"

#include <array>
#include <cmath>

// One small function per process type, registered in the table at the end of the anonymous
// namespace. A runner reads every required parameter through RequiredParameters (which sorts
// out codes 1 and 2), runs the process's automaton through the entry point that its interactive
// operation calls, and records the step with recordStep. To implement a process, write its
// runner and put it in the table in place of the null entry.

namespace Engine {

namespace {

using Model::Automaton::TotalVolume;

// Ends a runner when its parameters did not all read: the code, with the reason as detail.
int parameterFailure(StepContext &context, const RequiredParameters &parameters)
{
    context.detail = parameters.detail();
    return parameters.result();
}

// --- Runners, one per type code. Each reads every required parameter before it checks the
// result, so that a missing parameter is reported as such even after an invalid one.

// 11: a new volume, built as the substrate-creation operation builds it, joins the scene and
// becomes the run volume.
int runCreateSubstrate(StepContext &context)
{
    RequiredParameters parameters(context.step);
    uint32_t size[3];
    for (int axis = 0; axis < 3; ++axis)
        size[axis] = parameters.toUInt(QLatin1String(Parameters::kVolumeSize[axis]));
    Core::Operations::SubstrateBuilder builder;
    builder.setMaterial(parameters.materialId(Parameters::kMaterial));
    builder.setOrigin(parameters.toVector3D(Parameters::kLowerLeftFrontCorner));
    builder.setVolumeSize(size[0], size[1], size[2]);
    // Only the shape that is built needs its parameters.
    if (parameters.toBool(Parameters::kSphericalSubstrate)) {
        uint32_t at[3];
        for (int axis = 0; axis < 3; ++axis)
            at[axis] = parameters.toUInt(QLatin1String(Parameters::kSubstrateCenter[axis]));
        builder.setSphere(at[0], at[1], at[2], parameters.toUInt(Parameters::kSubstrateRadius));
    } else {
        uint32_t box[3];
        uint32_t offset[3];
        for (int axis = 0; axis < 3; ++axis) {
            box[axis] = parameters.toUInt(QLatin1String(Parameters::kSubstrateSize[axis]));
            offset[axis] = parameters.toUInt(QLatin1String(Parameters::kSubstrateDelta[axis]));
        }
        builder.setBox(box[0], box[1], box[2], offset[0], offset[1], offset[2]);
    }
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    QString why;
    if (!TotalVolume::sizeIsAcceptable(size[0], size[1], size[2], &why)) {
        context.detail = QStringLiteral("Volume too large. ") + why;
        return StepInvalidParameter;
    }
    if (size[0] == 0 || size[1] == 0 || size[2] == 0) {
        context.detail = QStringLiteral("A cell volume needs at least one cell along each axis.");
        return StepInvalidParameter;
    }

    std::shared_ptr<TotalVolume> created = builder.build();
    context.model.scene().addObject(created);
    context.volume = created;
    return StepSucceeded;
}

// 10: the image saver refreshes the view of the run volume and saves it.
int runSaveImage(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const QString filename = parameters.toText(Parameters::kFilename);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);
    if (filename.isEmpty()) {
        context.detail = QStringLiteral("The image file name is empty.");
        return StepInvalidParameter;
    }
    if (!context.saveImage) {
        context.detail = QStringLiteral("Images cannot be saved here: there is no view to draw them.");
        return StepInvalidParameter;
    }
    const QString error = context.saveImage(filename);
    if (!error.isEmpty()) {
        context.detail = error;
        return StepInvalidParameter;
    }
    return StepSucceeded;
}

// 4 and 16: isotropic deposition; they differ only in the name of the thickness.
int runIsotropicDeposition(StepContext &context, const QString &thicknessName)
{
    RequiredParameters parameters(context.step);
    const float thickness = parameters.toLength(thicknessName);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::depositIsotropicFilm(*context.volume, material, thickness);
    recordStep(context, Core::Operations::IsotropicDepositionId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

int runCvd(StepContext &context)
{
    return runIsotropicDeposition(context, Parameters::kThickness);
}

int runFilmDeposition(StepContext &context)
{
    return runIsotropicDeposition(context, Parameters::kFilmThickness);
}

// 5
int runIsotropicEtching(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const float depth = parameters.toLength(Parameters::kDepth);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::etchIsotropicFilm(*context.volume, material, depth);
    recordStep(context, Core::Operations::IsotropicEtchingId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 7: the interactive operation never marks the lattice, whatever is plated.
int runElectroplating(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const float thickness = parameters.toLength(Parameters::kFilmThickness);
    const uint32_t conducting = parameters.materialId(Parameters::kConductingMaterial);
    const uint32_t deposited = parameters.materialId(Parameters::kDepositedMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::electroplate(*context.volume, deposited, conducting, thickness);
    recordStep(context, Core::Operations::ElectroplatingId, false);
    return StepSucceeded;
}

// The horizontal to vertical ratio of the directional steps: any finite number (0 or less means
// no lateral growth).
float horizontalRatio(RequiredParameters &parameters)
{
    const double ratio = parameters.toDouble(Parameters::kHorizontalToVerticalRatio);
    if (!std::isfinite(ratio))
        parameters.refuse(Parameters::kHorizontalToVerticalRatio, QStringLiteral("not a finite number"));
    return float(ratio);
}

// 17
int runAnisotropicDeposition(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const float thickness = parameters.toLength(Parameters::kFilmThickness);
    const float ratio = horizontalRatio(parameters);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::depositAnisotropicFilm(*context.volume, material, thickness, ratio);
    recordStep(context, Core::Operations::AnisotropicDepositionId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 18
int runAnisotropicEtching(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const float depth = parameters.toLength(Parameters::kEtchDepth);
    const float ratio = horizontalRatio(parameters);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::etchAnisotropicFilm(*context.volume, material, depth, ratio);
    recordStep(context, Core::Operations::AnisotropicEtchingId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 12
int runPvd(StepContext &context)
{
    using Core::Operations::SimplePhysicalVaporDeposition;
    RequiredParameters parameters(context.step);
    const float thickness = parameters.toLength(Parameters::kThickness);
    const float ratio = horizontalRatio(parameters);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    const int sides = parameters.toInt(Parameters::kDepositOnValue);
    if (sides != SimplePhysicalVaporDeposition::Top && sides != SimplePhysicalVaporDeposition::Bottom
        && sides != SimplePhysicalVaporDeposition::BothSides)
        parameters.refuse(Parameters::kDepositOnValue, QStringLiteral("1 (top), 2 (bottom) or 3 (both sides)"));
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::depositPhysicalVapor(*context.volume, material, thickness, ratio, uint32_t(sides));
    recordStep(context, Core::Operations::PvdId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 13: the depth counts cells.
int runSimpleRie(StepContext &context)
{
    using Core::Operations::SimpleReactiveIonEtching;
    constexpr int kAllDirections = SimpleReactiveIonEtching::kFromTop | SimpleReactiveIonEtching::kFromBelow;
    RequiredParameters parameters(context.step);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    const uint32_t depth = parameters.toUInt(Parameters::kEtchDepth);
    const int directions = parameters.toInt(Parameters::kEtchDirectionValue);
    if (directions < 0 || directions > kAllDirections)
        parameters.refuse(Parameters::kEtchDirectionValue, QStringLiteral("0 to 3"));
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::etchReactiveIons(*context.volume, material, depth, uint8_t(directions));
    recordStep(context, Core::Operations::SimpleRieId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 2
int runMooreDeposition(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const uint32_t layers = parameters.toUInt(Parameters::kThickness);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::depositMooreFilm(*context.volume, material, layers);
    recordStep(context, Core::Operations::MooreDepositionId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 3
int runMooreEtching(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const uint32_t layers = parameters.toUInt(Parameters::kDepth);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::etchMooreFilm(*context.volume, material, layers);
    recordStep(context, Core::Operations::MooreEtchingId, material == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 6: the cut may remove silicon whatever the heights, so the lattice is always out of date.
int runPlanarization(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const uint32_t maximum = parameters.toUInt(Parameters::kMaximumHeight);
    const uint32_t minimum = parameters.toUInt(Parameters::kMinimumHeight);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::planarize(*context.volume, maximum, minimum);
    recordStep(context, Core::Operations::PlanarizationId, true);
    return StepSucceeded;
}

// 9: "Pour Material"; the interactive operation never marks the lattice.
int runSpinCoating(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const uint32_t material = parameters.materialId(Parameters::kMaterial);
    const uint32_t height = parameters.toUInt(Parameters::kMaximumHeight);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::pourMaterial(*context.volume, material, height);
    recordStep(context, Core::Operations::PourMaterialId, false);
    return StepSucceeded;
}

// 8: doping always marks the lattice, as the interactive operation does.
int runDoping(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const float depth = parameters.toLength(Parameters::kDopingDepth);
    const uint32_t doped = parameters.materialId(Parameters::kDopedMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::dopeByDiffusion(*context.volume, doped, depth);
    recordStep(context, Core::Operations::DopingId, true);
    return StepSucceeded;
}

// 14
int runIonImplantation(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const float annealing = parameters.toLength(Parameters::kAnnealingDistance);
    const float depth = parameters.toLength(Parameters::kImplantationDepth);
    const float spread = parameters.toLength(Parameters::kVerticalSpread);
    const uint32_t doped = parameters.materialId(Parameters::kDopedMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::implantIons(*context.volume, doped, depth, spread, annealing);
    recordStep(context, Core::Operations::IonImplantationId, true);
    return StepSucceeded;
}

// 0: a mask comes as its bits with its width and height, as the dialog stores it. A list written
// by hand may name the image file alone, without the bits; the image is read here then.
Model::Masks::ImageMask stepMask(const ProcessData &step, RequiredParameters &parameters, const QString &bitsName,
                                 const QString &widthName, const QString &heightName, const QString &fileName)
{
    Model::Masks::ImageMask mask;
    const QString file = step.hasParameter(fileName) ? step.getProcessParameter(fileName).toString() : QString();
    if (!step.hasParameter(bitsName) && !file.isEmpty()) {
        if (!Model::Masks::ImageMask::read(file, mask))
            parameters.refuse(fileName, QStringLiteral("cannot read the image \"%1\"").arg(file));
        return mask;
    }
    const QVector<bool> bits = parameters.toBoolVector(bitsName);
    mask.width = parameters.toUInt(widthName);
    mask.height = parameters.toUInt(heightName);
    if (uint64_t(bits.size()) != uint64_t(mask.width) * mask.height) {
        parameters.refuse(bitsName, QStringLiteral("%1 bits for a %2 \u00d7 %3 mask")
                                        .arg(bits.size()).arg(mask.width).arg(mask.height));
        return Model::Masks::ImageMask();
    }
    mask.bits = QBitArray(bits.size());
    for (int i = 0; i < bits.size(); ++i)
        mask.bits.setBit(i, bits[i]);
    return mask;
}

int runPhotolithography(StepContext &context)
{
    namespace P = Parameters;
    RequiredParameters parameters(context.step);
    const uint32_t resist = parameters.materialId(P::kMaterial);
    const auto top = stepMask(context.step, parameters, P::kTopMask, P::kTopMaskWidth, P::kTopMaskHeight, P::kTopMaskFile);
    const auto bottom = stepMask(context.step, parameters, P::kBottomMask, P::kBottomMaskWidth, P::kBottomMaskHeight,
                                 P::kBottomMaskFile);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    Core::Operations::developPhotoresist(*context.volume, resist, bottom, top);
    recordStep(context, Core::Operations::PhotolithographyId, resist == Model::Materials::kSiliconMaterial);
    return StepSucceeded;
}

// 1: the lattice is rebuilt first when out of date, and is current afterwards.
int runSiWetEtching(StepContext &context)
{
    RequiredParameters parameters(context.step);
    // In double precision: the step count rounds at half a layer, which single precision can miss.
    const double depth = parameters.toDouble(Parameters::kDepth);
    if (!std::isfinite(depth) || depth < 0.0)
        parameters.refuse(Parameters::kDepth, QStringLiteral("not a length"));
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    TotalVolume &volume = *context.volume;
    QString why;
    if (!Core::Operations::refreshSiLatticeIfOutOfDate(volume, context.model.volumeHistory(), &why)) {
        context.detail = why;
        return StepInvalidParameter;
    }
    Core::Operations::etchSiAtomistic(volume, depth);
    Core::Operations::recordSiWetEtch(volume, context.model.volumeHistory(), Core::Operations::SiWetEtchingId);
    return StepSucceeded;
}

// 19: the values are in SI units; a time step too long for a stable walk is refused (code 2)
// with the time step that would be stable.
int runRandomWalkDoping(StepContext &context)
{
    namespace P = Parameters;
    RequiredParameters parameters(context.step);
    Core::Operations::RandomWalkDopingParameters walk;
    walk.diffusionCoefficient = parameters.toDouble(P::kDiffusionCoefficient);
    walk.cellSize = parameters.toDouble(P::kCellSize);
    walk.timeStep = parameters.toDouble(P::kTimeStepDuration);
    walk.surfaceConcentration = parameters.toDouble(P::kSurfaceConcentration);
    walk.dopingTime = parameters.toDouble(P::kDopingTime);
    walk.threshold = parameters.toDouble(P::kDopingThreshold);
    walk.dopedMaterial = parameters.materialId(P::kMaterial);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);
    const QString problem = walk.problem();
    if (!problem.isEmpty()) {
        context.detail = problem;
        return StepInvalidParameter;
    }

    Core::Operations::dopeByRandomWalk(*context.volume, walk);
    recordStep(context, Core::Operations::RandomWalkDopingId, true);
    return StepSucceeded;
}

// 15: by the Deal–Grove law or to a thickness (in microns), scaled by the micron conversion.
// The thickness flag may be left out (time mode then decides alone); with neither mode set the
// step changes nothing, as the interactive operation does.
int runSiOxidation(StepContext &context)
{
    namespace P = Parameters;
    RequiredParameters parameters(context.step);
    const double conversion = parameters.toDouble(P::kMicronConversion);
    const double pressure = parameters.toDouble(P::kOxidationPressure);
    const double temperature = parameters.toDouble(P::kOxidationTemperature);
    const double hours = parameters.toDouble(P::kOxidationTime);
    const bool byTime = parameters.toBool(P::kOxidationTimeSet);
    const double microns = parameters.toDouble(P::kOxidationThickness);
    const bool byThickness = context.step.hasParameter(P::kOxidationThicknessSet)
                             && context.step.getProcessParameter(P::kOxidationThicknessSet).toBool();
    const auto refuseUnless = [&](bool acceptable, const char *name, const char *what) {
        if (!acceptable)
            parameters.refuse(name, QLatin1String(what));
    };
    refuseUnless(std::isfinite(conversion) && conversion > 0.0, P::kMicronConversion, "more than 0 units per micron");
    if (byThickness) {
        refuseUnless(std::isfinite(microns) && microns >= 0.0, P::kOxidationThickness, "0 microns or more");
    } else if (byTime) {
        refuseUnless(std::isfinite(hours) && hours >= 0.0, P::kOxidationTime, "0 hours or more");
        refuseUnless(std::isfinite(temperature) && temperature > 0.0, P::kOxidationTemperature,
                     "an absolute temperature above 0");
        refuseUnless(std::isfinite(pressure) && pressure >= 0.0, P::kOxidationPressure, "0 atm or more");
    }
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);
    if (!byThickness && !byTime)
        return StepSucceeded;

    if (byThickness)
        Core::Operations::growOxideByThickness(*context.volume, conversion, microns);
    else
        Core::Operations::growOxideByTime(*context.volume, conversion, hours, temperature, pressure);
    recordStep(context, Core::Operations::SiOxidationId, true);
    return StepSucceeded;
}

// 20: the continuous wet etch; the lattice is rebuilt first when it is out of date, and is
// current afterwards.
int runSiWetEtchingCca(StepContext &context)
{
    RequiredParameters parameters(context.step);
    const double depth = parameters.toLength(Parameters::kDepth);
    if (parameters.result() != StepSucceeded)
        return parameterFailure(context, parameters);

    QString why;
    if (!Core::Operations::refreshSiLatticeIfOutOfDate(*context.volume, context.model.volumeHistory(), &why)
        || !Core::Operations::etchSiContinuous(*context.volume, depth, Core::Operations::kKohRateTable, &why)) {
        context.detail = why;
        return StepInvalidParameter;
    }
    Core::Operations::recordSiWetEtch(*context.volume, context.model.volumeHistory(),
                                      Core::Operations::SiWetEtchingCcaId);
    return StepSucceeded;
}

// --- The table. A process that gains its engine replaces its null entry by its runner.

using Runner = int (*)(StepContext &);

struct RunnerEntry {
    Runner run;          // null: the process is not implemented (code 4)
    bool needsVolume;    // false only for the step that creates the volume
};

const std::array<RunnerEntry, kLastProcessType + 1> &runners()
{
    static const std::array<RunnerEntry, kLastProcessType + 1> table = [] {
        std::array<RunnerEntry, kLastProcessType + 1> entries;
        entries.fill(RunnerEntry{nullptr, true});
        entries[PhotolithographyType] = {runPhotolithography, true};
        entries[CvdType] = {runCvd, true};
        entries[IsotropicEtchingType] = {runIsotropicEtching, true};
        entries[ElectroplatingType] = {runElectroplating, true};
        entries[SaveImageType] = {runSaveImage, true};
        entries[CreateSubstrateType] = {runCreateSubstrate, false};
        entries[IsotropicDepositionType] = {runFilmDeposition, true};
        entries[AnisotropicDepositionType] = {runAnisotropicDeposition, true};
        entries[AnisotropicEtchingType] = {runAnisotropicEtching, true};
        entries[PvdType] = {runPvd, true};
        entries[SimpleRieType] = {runSimpleRie, true};
        entries[MooreDepositionType] = {runMooreDeposition, true};
        entries[MooreEtchingType] = {runMooreEtching, true};
        entries[PlanarizationType] = {runPlanarization, true};
        entries[SpinCoatingType] = {runSpinCoating, true};
        entries[DopingType] = {runDoping, true};
        entries[IonImplantationType] = {runIonImplantation, true};
        entries[RandomWalkDopingType] = {runRandomWalkDoping, true};
        entries[SiWetEtchingType] = {runSiWetEtching, true};
        entries[SiOxidationType] = {runSiOxidation, true};
        entries[SiWetEtchingCcaType] = {runSiWetEtchingCca, true};
        return entries;
    }();
    return table;
}

} // namespace

QString stepResultText(int code)
{
    switch (code) {
    case StepSucceeded:
        return QStringLiteral("No error, process was run successfully.");
    case StepMissingParameter:
        return QStringLiteral("A required parameter was not found. Check input list.");
    case StepInvalidParameter:
        return QStringLiteral("Value for a required parameter is invalid. Check input list.");
    case StepNotImplemented:
        return QStringLiteral("Process is not implemented. Remove process from the list.");
    case StepUnknownProcess:
    default:
        return QStringLiteral("Unknown process. Remove process from the list.");
    }
}

int runStep(StepContext &context)
{
    context.detail.clear();
    const uint32_t type = context.step.processType();
    if (type > kLastProcessType)
        return StepUnknownProcess;
    const RunnerEntry &entry = runners()[type];
    if (!entry.run)
        return StepNotImplemented;
    if (entry.needsVolume && !context.volume) {
        // runProcessList never gets here; a direct caller without a volume does.
        context.detail = QStringLiteral("There is no cell volume for this step.");
        return StepMissingParameter;
    }
    return entry.run(context);
}

} // namespace Engine
