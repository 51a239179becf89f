#pragma once

#include <cstdint>

namespace Core {
namespace Operations {

// A change decided during one propagation step and applied at the step's barrier: the cell's
// new material and its new distance vector (length units, from the cell to its nearest source),
// and which of its face neighbours (bit k for neighbour k) join its own slab's next front.
struct CellChange {
    uint32_t index;
    uint32_t material;
    float vx;
    float vy;
    float vz;
    uint8_t reaches;
};

} // namespace Operations
} // namespace Core
