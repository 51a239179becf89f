#include "RandomWalkDopingParameters.h"

#include <cmath>

namespace Core {
namespace Operations {

namespace {

// The most particles a cell may start with. A cell gathers what its six neighbours send it on
// top of what stays, so counts stay well below twice the largest count; this keeps them inside
// the unsigned 32-bit counters.
constexpr int64_t kMaxParticlesPerCell = int64_t(1) << 30;
constexpr int kStableStepDigits = 6;

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

float hopProbabilityOf(double diffusionCoefficient, double timeStep, double cellSize)
{
    const float a = float(cellSize);
    return float(diffusionCoefficient) * float(timeStep) * 6.0f / (a * a);
}

} // namespace

float RandomWalkDopingParameters::hopProbability() const
{
    return hopProbabilityOf(diffusionCoefficient, timeStep, cellSize);
}

double RandomWalkDopingParameters::longestStableTimeStep() const
{
    if (!(diffusionCoefficient > 0.0) || !(cellSize > 0.0))
        return 0.0;
    const double exact = cellSize * cellSize / (6.0 * diffusionCoefficient);
    const double unit = std::pow(10.0, std::floor(std::log10(exact)) - (kStableStepDigits - 1));
    double step = std::floor(exact / unit) * unit;
    // The walk computes p in single precision; step down until that p is at most 1 too.
    while (step > 0.0 && hopProbabilityOf(diffusionCoefficient, step, cellSize) > 1.0f)
        step -= unit;
    return step;
}

int64_t RandomWalkDopingParameters::surfaceParticles() const
{
    const float a = float(cellSize);
    const float volume = a * a * a;
    return int64_t(double(volume) * surfaceConcentration);
}

int64_t RandomWalkDopingParameters::thresholdParticles() const
{
    const float a = float(cellSize);
    const float volume = a * a * a;
    return int64_t(double(volume) * threshold);
}

QString RandomWalkDopingParameters::problem() const
{
    const struct {
        double value;
        const char *name;
        bool mayBeZero;
    } values[] = {
        {diffusionCoefficient, "diffusion coefficient", true},
        {cellSize, "cell size", false},
        {timeStep, "time step", false},
        {surfaceConcentration, "surface concentration", true},
        {dopingTime, "doping time", true},
        {threshold, "threshold", true},
    };
    for (const auto &v : values) {
        if (!std::isfinite(v.value))
            return QStringLiteral("The %1 is not a number.").arg(QLatin1String(v.name));
        if (v.value < 0.0 || (!v.mayBeZero && v.value == 0.0))
            return QStringLiteral("The %1 must be greater than %2, not %3.")
                .arg(QLatin1String(v.name), QLatin1String(v.mayBeZero ? "or equal to 0" : "0"), number(v.value));
    }
    const float p = hopProbability();
    if (!(p <= 1.0f)) {
        return QStringLiteral("The time step is too long for this diffusion coefficient and cell size: "
                              "6·D·Δt/a² is %1, and a particle cannot leave its cell with a probability "
                              "above 1. A time step of at most %2 s is stable.")
            .arg(number(double(p)), number(longestStableTimeStep()));
    }
    if (surfaceParticles() > kMaxParticlesPerCell)
        return QStringLiteral("The surface concentration puts %1 particles in a cell; at most %2 fit. "
                              "Use smaller cells or a lower concentration.")
            .arg(number(double(surfaceParticles())), QString::number(kMaxParticlesPerCell));
    return QString();
}

} // namespace Operations
} // namespace Core
