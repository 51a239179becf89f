#pragma once

#include <QString>
#include <cstdint>

namespace Core {
namespace Operations {

// The parameters of random-walk doping, in SI units as process lists store them.
struct RandomWalkDopingParameters {
    double diffusionCoefficient = 0.0; // D, m²/s
    double cellSize = 0.0;             // a, the edge of one cell, m
    double timeStep = 0.0;             // Δt, s
    double surfaceConcentration = 0.0; // Cs, m⁻³
    double dopingTime = 0.0;           // s
    double threshold = 0.0;            // Ct, m⁻³
    uint32_t dopedMaterial = 0;

    // The probability that a particle leaves its cell in one step, p = 6·D·Δt/a² (single
    // precision, as the walk uses it). The walk needs p ≤ 1.
    float hopProbability() const;
    // The longest time step that keeps p ≤ 1 for this D and a, rounded down to six significant
    // digits; 0 when D is 0 (every step is stable then).
    double longestStableTimeStep() const;
    // Particles per cell at the surface (a³·Cs) and at the threshold (a³·Ct), truncated.
    int64_t surfaceParticles() const;
    int64_t thresholdParticles() const;

    // Why the walk cannot run with these values (a sentence for the user), or empty when it can.
    QString problem() const;
};

} // namespace Operations
} // namespace Core
