#pragma once

// The lateral weighting of the directional distance steps (anisotropic deposition and etching,
// physical vapour deposition): a face step along x or y counts 1/q times its length, where q is
// the horizontal-to-vertical ratio, so that a film of thickness R reaches about q·R sideways and
// R vertically.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonBase.h"

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

using CellLengths = AbstractDistanceCountingAutomatonBase::CellLengths;

// The volume's cell lengths with x and y divided by `ratio`. A ratio of 0 or less sets both to
// 2·`reach`: one lateral step then already lies beyond the reach, and growth is vertical only.
CellLengths horizontallyWeightedLengths(const Model::Automaton::TotalVolume &volume, float ratio, float reach);

// Enough propagation steps to reach every cell within `reach` of the weighted distance.
//
// A cell (a, b, c) face steps away lies within the reach when (a·lx)² + (b·ly)² + (c·lz)² ≤ R²,
// so a + b + c ≤ R·√(1/lx² + 1/ly² + 1/lz²) ≤ √3·R / min(l): the isotropic count taken over the
// *weighted* lengths. A ratio above 1 makes lateral steps shorter than the cells, and counting
// with the volume's own lengths would then stop before the far corners of the film.
unsigned weightedStepCount(float reach, const CellLengths &lengths);

} // namespace Operations
} // namespace Core
