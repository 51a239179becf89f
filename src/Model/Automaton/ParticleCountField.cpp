#include "ParticleCountField.h"

#include "Model/Materials/MaterialIds.h"

#include <algorithm>

namespace Model {
namespace Automaton {

const QString ParticleCountField::kTypeNName = QStringLiteral("Random Walk Particle Count Type N");
const QString ParticleCountField::kTypePName = QStringLiteral("Random Walk Particle Count Type P");

ParticleCountField::ParticleCountField(uint32_t cellCount)
    : cells(cellCount), values(size_t(cellCount) * kSlotsPerCell, 0u)
{
}

QString ParticleCountField::nameFor(uint32_t dopedMaterial)
{
    return dopedMaterial == Materials::kNDopedSiliconMaterial ? kTypeNName : kTypePName;
}

uint32_t ParticleCountField::particleCount(uint32_t cell) const
{
    const uint32_t *slot = counters(cell);
    uint32_t sum = 0;
    for (uint32_t k = 0; k < kSlotsPerCell; ++k)
        sum += slot[k];
    return sum;
}

void ParticleCountField::clear()
{
    std::fill(values.begin(), values.end(), 0u);
}

} // namespace Automaton
} // namespace Model
