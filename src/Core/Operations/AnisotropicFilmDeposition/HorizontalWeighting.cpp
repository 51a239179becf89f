#include "HorizontalWeighting.h"

#include "Model/Automaton/TotalVolume.h"

#include <algorithm>

namespace Core {
namespace Operations {

namespace {
// With no lateral growth a lateral step must exceed any reach: twice the reach does.
constexpr float kBeyondReach = 2.0f;
}

CellLengths horizontallyWeightedLengths(const Model::Automaton::TotalVolume &volume, float ratio, float reach)
{
    CellLengths lengths = AbstractDistanceCountingAutomatonBase::cellLengthsOf(volume);
    if (ratio > 0.0f) {
        lengths.x /= ratio;
        lengths.y /= ratio;
    } else {
        lengths.x = kBeyondReach * reach;
        lengths.y = kBeyondReach * reach;
    }
    return lengths;
}

unsigned weightedStepCount(float reach, const CellLengths &lengths)
{
    return AbstractDistanceCountingAutomatonBase::stepsToCover(reach, std::min({lengths.x, lengths.y, lengths.z}));
}

} // namespace Operations
} // namespace Core
