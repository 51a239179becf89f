#pragma once

// The names of process-list parameters. The option dialogs write their values under these
// names, the list file stores them, the step runners read them and the batch dialog lists them;
// a list written by one must be read by all, so every one of them names a parameter from here.

#include <QLatin1String>
#include <QString>

namespace Engine {
namespace Parameters {

// A material comes as three parameters: "<base>_Id" (the catalogue id), "<base>" (its name) and
// "<base>_Color" (its colour).
constexpr const char *kIdSuffix = "_Id";
constexpr const char *kColorSuffix = "_Color";

inline QString idOf(const QString &base)
{
    return base + QLatin1String(kIdSuffix);
}

inline QString colorOf(const QString &base)
{
    return base + QLatin1String(kColorSuffix);
}

// Whether a name is the id of a material (case-sensitive), and the base of such a name.
inline bool isMaterialId(const QString &name)
{
    return name.endsWith(QLatin1String(kIdSuffix));
}

inline QString baseOfId(const QString &idName)
{
    return idName.chopped(QLatin1String(kIdSuffix).size());
}

// Material bases.
constexpr const char *kMaterial = "Material";
constexpr const char *kConductingMaterial = "Conducting Material";
constexpr const char *kDepositedMaterial = "Deposited Material";
constexpr const char *kDopedMaterial = "Doped Material";

// Lengths and heights shared by several steps.
constexpr const char *kThickness = "Thickness";           // Moore deposition, CVD, PVD
constexpr const char *kFilmThickness = "Film Thickness";  // electroplating, isotropic and anisotropic deposition
constexpr const char *kDepth = "Depth";                   // Si wet etching, Moore and isotropic etching
constexpr const char *kEtchDepth = "Etch Depth";          // simple RIE, anisotropic etching
constexpr const char *kMaximumHeight = "Maximum Height";  // planarization, spin coating
constexpr const char *kMinimumHeight = "Minimum Height";  // planarization
constexpr const char *kHorizontalToVerticalRatio = "Horizontal to Vertical Ratio";

// Photolithography: a mask is one bool per pixel, row by row, with its size.
constexpr const char *kTopMask = "Top Mask";
constexpr const char *kTopMaskFile = "Top Mask File";
constexpr const char *kTopMaskHeight = "Top Mask Height";
constexpr const char *kTopMaskWidth = "Top Mask Width";
constexpr const char *kBottomMask = "Bottom Mask";
constexpr const char *kBottomMaskFile = "Bottom Mask File";
constexpr const char *kBottomMaskHeight = "Bottom Mask Height";
constexpr const char *kBottomMaskWidth = "Bottom Mask Width";

// Save Image.
constexpr const char *kFilename = "Filename";

// Create Substrate: the volume, and a box (size and offset) or a sphere (centre and radius).
constexpr const char *kLowerLeftFrontCorner = "Lower Left Front Corner";
constexpr const char *kVolumeSize[3] = {"Volume Size X", "Volume Size Y", "Volume Size Z"};
constexpr const char *kSphericalSubstrate = "SphericalSubstrate";
constexpr const char *kSubstrateSize[3] = {"Substrate Size X", "Substrate Size Y", "Substrate Size Z"};
constexpr const char *kSubstrateDelta[3] = {"Substrate Delta X", "Substrate Delta Y", "Substrate Delta Z"};
constexpr const char *kSubstrateCenter[3] = {"Substrate Center X", "Substrate Center Y", "Substrate Center Z"};
constexpr const char *kSubstrateRadius = "Substrate Radius";

// PVD and simple RIE keep a choice as its code (hidden) and as its text (listed).
constexpr const char *kDepositOnValue = "DepositOn";
constexpr const char *kDepositOn = "Deposit On";
constexpr const char *kEtchDirectionValue = "EtchDirectionValue";
constexpr const char *kEtchDirection = "Etch Direction";

// Doping and ion implantation.
constexpr const char *kDopingDepth = "Doping Depth";
constexpr const char *kAnnealingDistance = "Annealing Distance";
constexpr const char *kImplantationDepth = "Implantation Depth";
constexpr const char *kVerticalSpread = "Vertical Spread";

// Si oxidation: by time (pressure, temperature, time) or to a thickness.
constexpr const char *kMicronConversion = "Micron Conversion";
constexpr const char *kOxidationPressure = "Oxidation Pressure";
constexpr const char *kOxidationTemperature = "Oxidation Temperature";
constexpr const char *kOxidationTime = "Oxidation Time";
constexpr const char *kOxidationTimeSet = "OxidationTimeSet";
constexpr const char *kOxidationThickness = "Oxidation Thickness";
constexpr const char *kOxidationThicknessSet = "OxidationThicknessSet";

// Random-walk doping.
constexpr const char *kDiffusionCoefficient = "Diffusion Coefficient";
constexpr const char *kCellSize = "Cell Size";
constexpr const char *kTimeStepDuration = "Time Step Duration";
constexpr const char *kSurfaceConcentration = "Surface Concentration";
constexpr const char *kDopingTime = "Doping Time";
constexpr const char *kDopingThreshold = "Doping Threshold";

// The material ids of lists older than version 1, which the list file renames on reading.
namespace Old {
constexpr const char *kMaterialId = "MaterialId";
constexpr const char *kConductingMaterialId = "ConductingMaterialId";
constexpr const char *kDepositedMaterialId = "DepositedMaterialId";
constexpr const char *kDopedMaterialId = "DopedMaterialId";
} // namespace Old

} // namespace Parameters
} // namespace Engine
