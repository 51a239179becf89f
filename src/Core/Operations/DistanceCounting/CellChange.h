#pragma once

#include <cstdint>

namespace Core {
namespace Operations {

// A change decided during one propagation step and applied at the step's barrier: the cell's
// new material and its new distance vector (length units, from the cell to its nearest source).
struct CellChange {
    uint32_t index;
    uint32_t material;
    float vx;
    float vy;
    float vz;
};

} // namespace Operations
} // namespace Core
