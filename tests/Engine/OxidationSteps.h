#pragma once

// Process-list steps of Si oxidation (15), with the parameters its runner reads, for the
// batch-engine and black-box tests.

#include "Engine/ProcessData.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"

namespace BatchTest {

// Every required value, as the dialog writes them; neither mode chosen.
inline Engine::ProcessData oxidation(double unitsPerMicron)
{
    namespace P = Engine::Parameters;
    Engine::ProcessData step(Engine::SiOxidationType);
    step.addProcessParameter(P::kMicronConversion, unitsPerMicron, true);
    step.addProcessParameter(P::kOxidationTime, 1.0, false);
    step.addProcessParameter(P::kOxidationTemperature, 1273.15, false);
    step.addProcessParameter(P::kOxidationPressure, 1.0, false);
    step.addProcessParameter(P::kOxidationTimeSet, false, false);
    step.addProcessParameter(P::kOxidationThickness, 0.1, false);
    step.addProcessParameter(P::kOxidationThicknessSet, false, false);
    return step;
}

inline Engine::ProcessData oxidationByTime(double unitsPerMicron, double hours, double kelvin, double atmospheres)
{
    namespace P = Engine::Parameters;
    Engine::ProcessData step = oxidation(unitsPerMicron);
    step.addProcessParameter(P::kOxidationTime, hours, true);
    step.addProcessParameter(P::kOxidationTemperature, kelvin, true);
    step.addProcessParameter(P::kOxidationPressure, atmospheres, true);
    step.addProcessParameter(P::kOxidationTimeSet, true, false);
    return step;
}

inline Engine::ProcessData oxidationToThickness(double unitsPerMicron, double microns)
{
    namespace P = Engine::Parameters;
    Engine::ProcessData step = oxidation(unitsPerMicron);
    step.addProcessParameter(P::kOxidationThickness, microns, true);
    step.addProcessParameter(P::kOxidationThicknessSet, true, false);
    return step;
}

} // namespace BatchTest
