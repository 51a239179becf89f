#pragma once

// Small builders shared by the batch-engine tests: steps with the parameters each process type reads,
// volumes with a flat substrate, and a volume's materials as a plain vector.

#include "Model/Automaton/TotalVolume.h"
#include "Engine/ProcessData.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"

#include <QFile>
#include <QString>
#include <memory>
#include <vector>

namespace BatchTest {

constexpr uint32_t kSilicon = 1;
constexpr uint32_t kOxide = 3;   // "Thermal Si02"
constexpr uint32_t kAluminium = 4;
constexpr uint32_t kCopper = 5;

inline std::vector<uint32_t> materialsOf(Model::Automaton::TotalVolume &volume)
{
    std::vector<uint32_t> out(volume.cellCount());
    auto *cells = volume.lockCells();
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = cells[i].material();
    volume.unlockCells();
    return out;
}

inline uint32_t materialAt(Model::Automaton::TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z)
{
    auto *cells = volume.lockCells();
    const uint32_t material = cells[volume.cellIndex(x, y, z)].material();
    volume.unlockCells();
    return material;
}

// How many cells of the column (x, y) hold `material`.
inline uint32_t countInColumn(Model::Automaton::TotalVolume &volume, uint32_t x, uint32_t y, uint32_t material)
{
    uint32_t count = 0;
    for (uint32_t z = 0; z < volume.sizeZ(); ++z)
        count += materialAt(volume, x, y, z) == material ? 1 : 0;
    return count;
}

// A volume of unit cells whose layers z < substrateHeight hold `material`.
inline std::shared_ptr<Model::Automaton::TotalVolume> flatVolume(uint32_t sx, uint32_t sy, uint32_t sz,
                                                                  uint32_t substrateHeight,
                                                                  uint32_t material = kSilicon)
{
    std::vector<uint32_t> materials(size_t(sx) * sy * sz, 0);
    for (uint32_t x = 0; x < sx; ++x)
        for (uint32_t y = 0; y < sy; ++y)
            for (uint32_t z = 0; z < substrateHeight && z < sz; ++z)
                materials[(size_t(x) * sy + y) * sz + z] = material;
    return std::make_shared<Model::Automaton::TotalVolume>(sx, sy, sz, 1.f, 1.f, 1.f, Util::Vector3D(), materials);
}

// "Create Substrate" of a box of `material` filling the bottom `height` layers.
inline Engine::ProcessData boxSubstrate(uint32_t sx, uint32_t sy, uint32_t sz, uint32_t height,
                                    uint32_t material = kSilicon)
{
    Engine::ProcessData step(Engine::CreateSubstrateType);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    step.addProcessParameter(QStringLiteral("Lower Left Front Corner"), QVariant::fromValue(Util::Vector3D()), true);
    const uint32_t volume[3] = {sx, sy, sz};
    const uint32_t box[3] = {sx, sy, height};
    const char *axes[3] = {"X", "Y", "Z"};
    for (int a = 0; a < 3; ++a) {
        step.addProcessParameter(QStringLiteral("Volume Size ") + axes[a], volume[a], true);
        step.addProcessParameter(QStringLiteral("Substrate Size ") + axes[a], box[a], true);
        step.addProcessParameter(QStringLiteral("Substrate Delta ") + axes[a], 0u, true);
        step.addProcessParameter(QStringLiteral("Substrate Center ") + axes[a], 0u, false);
    }
    step.addProcessParameter(QStringLiteral("Substrate Radius"), 0u, false);
    step.addProcessParameter(QStringLiteral("SphericalSubstrate"), false, false);
    return step;
}

// Type 16, or type 4 ("Thickness" instead of "Film Thickness").
inline Engine::ProcessData deposition(uint32_t material, double thickness, uint32_t type = Engine::IsotropicDepositionType)
{
    Engine::ProcessData step(type);
    step.addProcessParameter(type == Engine::CvdType ? QStringLiteral("Thickness") : QStringLiteral("Film Thickness"),
                             thickness, true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

inline Engine::ProcessData etching(uint32_t material, double depth)
{
    Engine::ProcessData step(Engine::IsotropicEtchingType);
    step.addProcessParameter(QStringLiteral("Depth"), depth, true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

inline Engine::ProcessData electroplating(uint32_t conducting, uint32_t deposited, double thickness)
{
    Engine::ProcessData step(Engine::ElectroplatingType);
    step.addProcessParameter(QStringLiteral("Film Thickness"), thickness, true);
    Engine::addMaterialParameters(step, QStringLiteral("Conducting Material"), conducting);
    Engine::addMaterialParameters(step, QStringLiteral("Deposited Material"), deposited);
    return step;
}

inline Engine::ProcessData saveImage(const QString &filename)
{
    Engine::ProcessData step(Engine::SaveImageType);
    step.addProcessParameter(QStringLiteral("Filename"), filename, true);
    return step;
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

inline bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text) == text.size();
}

inline QByteArray readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace BatchTest
