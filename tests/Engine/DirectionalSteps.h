#pragma once

// Process-list steps of anisotropic deposition (17) and etching (18), PVD (12) and simple RIE
// (13), with the parameters their runners read, for the batch-engine and black-box tests.

#include "Engine/ProcessData.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"

#include <QString>
#include <cstdint>

namespace BatchTest {

inline Engine::ProcessData anisotropicDeposition(uint32_t material, double thickness, double ratio)
{
    Engine::ProcessData step(Engine::AnisotropicDepositionType);
    step.addProcessParameter(QStringLiteral("Film Thickness"), thickness, true);
    step.addProcessParameter(QStringLiteral("Horizontal to Vertical Ratio"), ratio, true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

inline Engine::ProcessData anisotropicEtching(uint32_t material, double depth, double ratio)
{
    Engine::ProcessData step(Engine::AnisotropicEtchingType);
    step.addProcessParameter(QStringLiteral("Etch Depth"), depth, true);
    step.addProcessParameter(QStringLiteral("Horizontal to Vertical Ratio"), ratio, true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

// `sides`: 1 top, 2 bottom, 3 both.
inline Engine::ProcessData pvd(uint32_t material, double thickness, double ratio, int sides)
{
    Engine::ProcessData step(Engine::PvdType);
    step.addProcessParameter(QStringLiteral("Thickness"), thickness, true);
    step.addProcessParameter(QStringLiteral("Horizontal to Vertical Ratio"), ratio, true);
    step.addProcessParameter(QStringLiteral("DepositOn"), sides, false);
    step.addProcessParameter(QStringLiteral("Deposit On"), QStringLiteral("Deposit on top"), true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

// `directions`: bit 0 from the top, bit 1 from below.
inline Engine::ProcessData simpleRie(uint32_t material, uint32_t cells, int directions)
{
    Engine::ProcessData step(Engine::SimpleRieType);
    step.addProcessParameter(QStringLiteral("Etch Depth"), cells, true);
    step.addProcessParameter(QStringLiteral("EtchDirectionValue"), directions, false);
    step.addProcessParameter(QStringLiteral("Etch Direction"), QStringLiteral("From top"), true);
    Engine::addMaterialParameters(step, QStringLiteral("Material"), material);
    return step;
}

} // namespace BatchTest
