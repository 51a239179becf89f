#pragma once

// Builders shared by the batch-engine and black-box tests: process-list steps with the
// parameters each runner reads, and volumes with a flat substrate.

#include "common/Cells.h"

#include "Engine/ProcessData.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"

#include <QFile>
#include <QString>
#include <memory>
#include <vector>

namespace BatchTest {

using TestSupport::countInColumn;
using TestSupport::materialAt;
using TestSupport::materialsOf;
namespace P = Engine::Parameters;

constexpr uint32_t kSilicon = 1;
constexpr uint32_t kOxide = 3; // "Thermal Si02"
constexpr uint32_t kAluminium = 4;
constexpr uint32_t kCopper = 5;
constexpr uint32_t kNDoped = 14;
constexpr uint32_t kPDoped = 15;

// Unit cells whose layers z < substrateHeight hold `material`.
inline std::shared_ptr<Model::Automaton::TotalVolume> flatVolume(uint32_t sx, uint32_t sy, uint32_t sz,
                                                                  uint32_t substrateHeight,
                                                                  uint32_t material = kSilicon)
{
    return TestSupport::flatVolume(sx, sy, sz, substrateHeight, material);
}

// A step of `type` with the given visible values and the material trios of `materials`.
inline Engine::ProcessData step(uint32_t type, std::initializer_list<std::pair<const char *, QVariant>> values,
                                std::initializer_list<std::pair<const char *, uint32_t>> materials = {},
                                bool idVisible = false)
{
    Engine::ProcessData s(type);
    for (const auto &v : values)
        s.addProcessParameter(QString::fromUtf8(v.first), v.second, true);
    for (const auto &m : materials)
        Engine::addMaterialParameters(s, QString::fromUtf8(m.first), m.second, idVisible);
    return s;
}

// "Create Substrate" of a box of `material` filling the bottom `height` layers.
inline Engine::ProcessData boxSubstrate(uint32_t sx, uint32_t sy, uint32_t sz, uint32_t height,
                                        uint32_t material = kSilicon)
{
    Engine::ProcessData s = step(Engine::CreateSubstrateType, {{P::kLowerLeftFrontCorner, QVariant::fromValue(Util::Vector3D())}},
                                 {{P::kMaterial, material}});
    const uint32_t volume[3] = {sx, sy, sz};
    const uint32_t box[3] = {sx, sy, height};
    for (int a = 0; a < 3; ++a) {
        s.addProcessParameter(P::kVolumeSize[a], volume[a], true);
        s.addProcessParameter(P::kSubstrateSize[a], box[a], true);
        s.addProcessParameter(P::kSubstrateDelta[a], 0u, true);
        s.addProcessParameter(P::kSubstrateCenter[a], 0u, false);
    }
    s.addProcessParameter(P::kSubstrateRadius, 0u, false);
    s.addProcessParameter(P::kSphericalSubstrate, false, false);
    return s;
}

// Type 16, or type 4 ("Thickness" instead of "Film Thickness").
inline Engine::ProcessData deposition(uint32_t material, double thickness, uint32_t type = Engine::IsotropicDepositionType)
{
    return step(type, {{type == Engine::CvdType ? P::kThickness : P::kFilmThickness, thickness}}, {{P::kMaterial, material}});
}

inline Engine::ProcessData etching(uint32_t material, double depth)
{
    return step(Engine::IsotropicEtchingType, {{P::kDepth, depth}}, {{P::kMaterial, material}});
}

inline Engine::ProcessData electroplating(uint32_t conducting, uint32_t deposited, double thickness)
{
    return step(Engine::ElectroplatingType, {{P::kFilmThickness, thickness}},
                {{P::kConductingMaterial, conducting}, {P::kDepositedMaterial, deposited}});
}

inline Engine::ProcessData saveImage(const QString &filename)
{
    return step(Engine::SaveImageType, {{P::kFilename, filename}});
}

inline Engine::ProcessData wetEtch(const QVariant &depth, uint32_t type = Engine::SiWetEtchingType)
{
    return step(type, {{P::kDepth, depth}});
}

inline Engine::ProcessData mooreDeposition(uint32_t material, uint32_t layers)
{
    return step(Engine::MooreDepositionType, {{P::kThickness, layers}}, {{P::kMaterial, material}});
}

inline Engine::ProcessData mooreEtching(uint32_t material, uint32_t layers)
{
    return step(Engine::MooreEtchingType, {{P::kDepth, layers}}, {{P::kMaterial, material}});
}

inline Engine::ProcessData planarization(uint32_t maximumHeight, uint32_t minimumHeight)
{
    return step(Engine::PlanarizationType, {{P::kMaximumHeight, maximumHeight}, {P::kMinimumHeight, minimumHeight}});
}

// "Pour Material" (spin coating).
inline Engine::ProcessData pour(uint32_t material, uint32_t height)
{
    return step(Engine::SpinCoatingType, {{P::kMaximumHeight, height}}, {{P::kMaterial, material}});
}

inline Engine::ProcessData anisotropicDeposition(uint32_t material, double thickness, double ratio)
{
    return step(Engine::AnisotropicDepositionType, {{P::kFilmThickness, thickness}, {P::kHorizontalToVerticalRatio, ratio}},
                {{P::kMaterial, material}});
}

inline Engine::ProcessData anisotropicEtching(uint32_t material, double depth, double ratio)
{
    return step(Engine::AnisotropicEtchingType, {{P::kEtchDepth, depth}, {P::kHorizontalToVerticalRatio, ratio}},
                {{P::kMaterial, material}});
}

// `sides`: 1 top, 2 bottom, 3 both.
inline Engine::ProcessData pvd(uint32_t material, double thickness, double ratio, int sides)
{
    Engine::ProcessData s = step(Engine::PvdType,
                                 {{P::kThickness, thickness}, {P::kHorizontalToVerticalRatio, ratio},
                                  {P::kDepositOn, QStringLiteral("Deposit on top")}},
                                 {{P::kMaterial, material}});
    s.addProcessParameter(P::kDepositOnValue, sides, false);
    return s;
}

// `directions`: bit 0 from the top, bit 1 from below.
inline Engine::ProcessData simpleRie(uint32_t material, uint32_t cells, int directions)
{
    Engine::ProcessData s = step(Engine::SimpleRieType,
                                 {{P::kEtchDepth, cells}, {P::kEtchDirection, QStringLiteral("From top")}},
                                 {{P::kMaterial, material}});
    s.addProcessParameter(P::kEtchDirectionValue, directions, false);
    return s;
}

inline Engine::ProcessData doping(uint32_t dopedMaterial, float depth)
{
    return step(Engine::DopingType, {{P::kDopingDepth, depth}}, {{P::kDopedMaterial, dopedMaterial}}, true);
}

inline Engine::ProcessData ionImplantation(uint32_t dopedMaterial, float depth, float spread, float annealing)
{
    return step(Engine::IonImplantationType,
                {{P::kAnnealingDistance, annealing}, {P::kImplantationDepth, depth}, {P::kVerticalSpread, spread}},
                {{P::kDopedMaterial, dopedMaterial}}, true);
}

// Si oxidation with every value as the dialog writes them, neither mode chosen.
inline Engine::ProcessData oxidation(double unitsPerMicron)
{
    Engine::ProcessData s = step(Engine::SiOxidationType, {{P::kMicronConversion, unitsPerMicron}});
    s.addProcessParameter(P::kOxidationTime, 1.0, false);
    s.addProcessParameter(P::kOxidationTemperature, 1273.15, false);
    s.addProcessParameter(P::kOxidationPressure, 1.0, false);
    s.addProcessParameter(P::kOxidationTimeSet, false, false);
    s.addProcessParameter(P::kOxidationThickness, 0.1, false);
    s.addProcessParameter(P::kOxidationThicknessSet, false, false);
    return s;
}

inline Engine::ProcessData oxidationByTime(double unitsPerMicron, double hours, double kelvin, double atmospheres)
{
    Engine::ProcessData s = oxidation(unitsPerMicron);
    s.addProcessParameter(P::kOxidationTime, hours, true);
    s.addProcessParameter(P::kOxidationTemperature, kelvin, true);
    s.addProcessParameter(P::kOxidationPressure, atmospheres, true);
    s.addProcessParameter(P::kOxidationTimeSet, true, false);
    return s;
}

inline Engine::ProcessData oxidationToThickness(double unitsPerMicron, double microns)
{
    Engine::ProcessData s = oxidation(unitsPerMicron);
    s.addProcessParameter(P::kOxidationThickness, microns, true);
    s.addProcessParameter(P::kOxidationThicknessSet, true, false);
    return s;
}

// "Doping (Random Walk CA)" of a silicon column: a = 0.1 µm, D = 1e-14 m²/s, Δt = 1/12 s (p = 0.5),
// Cs = 1e26 m⁻³ (1e5 particles per cell) and Ct = Cs / 10, for `seconds`.
inline Engine::ProcessData randomWalkDoping(uint32_t dopedMaterial, double seconds = 100.0,
                                            double timeStep = 1.0 / 12.0)
{
    return step(Engine::RandomWalkDopingType,
                {{P::kDiffusionCoefficient, 1e-14}, {P::kCellSize, 1e-7}, {P::kTimeStepDuration, timeStep},
                 {P::kSurfaceConcentration, 1e26}, {P::kDopingTime, seconds}, {P::kDopingThreshold, 1e25}},
                {{P::kMaterial, dopedMaterial}}, true);
}

// A copy of `step` without the parameter `name`.
inline Engine::ProcessData without(const Engine::ProcessData &step, const QString &name)
{
    Engine::ProcessData copy(step.processType());
    for (auto it = step.parameters().constBegin(); it != step.parameters().constEnd(); ++it)
        if (it.key() != name)
            copy.addProcessParameter(it.key(), it.value(), step.visibility().value(it.key()));
    return copy;
}

// A copy of `step` with `name` set to `value`.
inline Engine::ProcessData with(Engine::ProcessData step, const QString &name, const QVariant &value)
{
    step.setProcessParameter(name, value);
    return step;
}

inline bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

inline QByteArray readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace BatchTest
