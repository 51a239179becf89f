#pragma once

#include "Model/Automaton/TotalVolumePainter.h"

#include <array>
#include <cstdint>

namespace Core {
namespace Operations {

// The box of cells a volume shows, [lower, upper) along each axis.
using CutBox = Model::Automaton::TotalVolumePainter::CutBox;

// The whole of a volume of `sizes` cells.
inline CutBox wholeBox(const std::array<uint32_t, 3> &sizes)
{
    return CutBox{{0, 0, 0}, sizes};
}

// The nearest box that shows at least one cell along each axis of a volume of `sizes`: upper
// limits within [1, size], lower limits below them.
inline CutBox fitCutBox(const CutBox &box, const std::array<uint32_t, 3> &sizes)
{
    CutBox fitted;
    for (int axis = 0; axis < 3; ++axis) {
        const uint32_t size = sizes[axis];
        uint32_t upper = box.upper[axis] > size ? size : box.upper[axis];
        if (upper == 0)
            upper = size > 0 ? 1 : 0;
        fitted.upper[axis] = upper;
        fitted.lower[axis] = box.lower[axis] < upper ? box.lower[axis] : (upper > 0 ? upper - 1 : 0);
    }
    return fitted;
}

inline bool sameBox(const CutBox &a, const CutBox &b)
{
    return a.lower == b.lower && a.upper == b.upper;
}

} // namespace Operations
} // namespace Core
