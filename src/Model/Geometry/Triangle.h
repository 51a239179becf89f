#pragma once

#include <array>
#include <cstdint>

namespace Model {
namespace Geometry {

// One marching-cubes triangle: three vertices, each with a position, a normal and the
// material it shows.
struct TriangleVertex {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};
    uint32_t materialId = 0;
};

struct Triangle {
    std::array<TriangleVertex, 3> vertices{};
};

} // namespace Geometry
} // namespace Model
