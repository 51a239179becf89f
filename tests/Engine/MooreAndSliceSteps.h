#pragma once

// Process-list steps of Moore deposition and etching, planarization and "Pour Material", with the
// parameters their runners read.

#include "Engine/ProcessData.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"

namespace BatchTest {

inline Engine::ProcessData mooreDeposition(uint32_t material, uint32_t layers)
{
    Engine::ProcessData step(Engine::MooreDepositionType);
    step.addProcessParameter(QStringLiteral("Thickness"), layers, true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

inline Engine::ProcessData mooreEtching(uint32_t material, uint32_t layers)
{
    Engine::ProcessData step(Engine::MooreEtchingType);
    step.addProcessParameter(QStringLiteral("Depth"), layers, true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

inline Engine::ProcessData planarization(uint32_t maximumHeight, uint32_t minimumHeight)
{
    Engine::ProcessData step(Engine::PlanarizationType);
    step.addProcessParameter(QStringLiteral("Maximum Height"), maximumHeight, true);
    step.addProcessParameter(QStringLiteral("Minimum Height"), minimumHeight, true);
    return step;
}

inline Engine::ProcessData pour(uint32_t material, uint32_t height)
{
    Engine::ProcessData step(Engine::SpinCoatingType);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    step.addProcessParameter(QStringLiteral("Maximum Height"), height, true);
    return step;
}

} // namespace BatchTest
