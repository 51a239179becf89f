#pragma once

// Process-list steps of doping (8) and ion implantation (14), with the parameters their runners
// read, for the batch-engine and black-box tests.

#include "Engine/ProcessData.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"

#include <QString>
#include <cstdint>

namespace BatchTest {

inline Engine::ProcessData doping(uint32_t dopedMaterial, float depth)
{
    Engine::ProcessData step(Engine::DopingType);
    step.addProcessParameter(QStringLiteral("Doping Depth"), depth, true);
    Engine::addMaterialParameters(step, QStringLiteral("Doped Material"), dopedMaterial, true);
    return step;
}

inline Engine::ProcessData ionImplantation(uint32_t dopedMaterial, float depth, float spread, float annealing)
{
    Engine::ProcessData step(Engine::IonImplantationType);
    step.addProcessParameter(QStringLiteral("Annealing Distance"), annealing, true);
    step.addProcessParameter(QStringLiteral("Implantation Depth"), depth, true);
    step.addProcessParameter(QStringLiteral("Vertical Spread"), spread, true);
    Engine::addMaterialParameters(step, QStringLiteral("Doped Material"), dopedMaterial, true);
    return step;
}

} // namespace BatchTest
