#include "ParticleColorMap.h"

namespace Model {
namespace Rendering {

namespace {
constexpr float kLastEntry = float(ParticleColorMap::kEntryCount - 1);
}

ParticleColorMap::ParticleColorMap()
{
    setScale(0);
}

void ParticleColorMap::setScale(uint32_t scale)
{
    currentScale = scale;
    for (int i = 0; i < kEntryCount; ++i) {
        const float up = float(i) / kLastEntry;
        const float down = float(kEntryCount - 1 - i) / kLastEntry;
        switch (scale) {
        case 0:
            table[size_t(i)] = {up, up, up, 1.0f};
            break;
        case 2:
            table[size_t(i)] = {down, down, up, 1.0f};
            break;
        default:
            table[size_t(i)] = {down, 0.0f, up, 1.0f};
            break;
        }
    }
}

void ParticleColorMap::setRange(float minimum, float maximum)
{
    low = minimum;
    high = maximum;
}

int ParticleColorMap::entryIndex(double v, float minimum, float maximum)
{
    const double ratio = (v - double(minimum)) / (double(maximum) - double(minimum)) * double(kLastEntry);
    if (!(ratio >= 0.0)) // negative, or not a number
        return 0;
    if (ratio >= double(kEntryCount))
        return kEntryCount - 1;
    return int(ratio);
}

} // namespace Rendering
} // namespace Model
