#pragma once

// Type 19 steps for the batch tests: "Doping (Random Walk CA)" with its SI parameters.

#include "Engine/ProcessData.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"

namespace BatchTest {

// The reference walk of a silicon column: a = 0.1 µm, D = 1e-14 m²/s, Δt = 1/12 s (p = 0.5),
// Cs = 1e26 m⁻³ (1e5 particles per cell) and Ct = Cs / 10, for `seconds`.
inline Engine::ProcessData randomWalkDoping(uint32_t dopedMaterial, double seconds = 100.0,
                                            double timeStep = 1.0 / 12.0)
{
    namespace P = Engine::Parameters;
    Engine::ProcessData step(Engine::RandomWalkDopingType);
    step.addProcessParameter(P::kDiffusionCoefficient, 1e-14, true);
    step.addProcessParameter(P::kCellSize, 1e-7, true);
    step.addProcessParameter(P::kTimeStepDuration, timeStep, true);
    step.addProcessParameter(P::kSurfaceConcentration, 1e26, true);
    step.addProcessParameter(P::kDopingTime, seconds, true);
    step.addProcessParameter(P::kDopingThreshold, 1e25, true);
    Engine::addMaterialParameters(step, P::kMaterial, dopedMaterial, true);
    return step;
}

} // namespace BatchTest
