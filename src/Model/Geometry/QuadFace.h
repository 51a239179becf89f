#pragma once

#include "Model/Geometry/FaceTable.h"

#include <array>
#include <cstdint>
#include <iosfwd>

namespace Model {
namespace Geometry {

using Rgba = std::array<float, 4>;
using Point3f = std::array<float, 3>;

// One drawable face: four corners in drawing order, fill and outline colours, one of the six
// face normals and the material it shows. A plain fixed-size record, stored by value in lists.
struct QuadFace {
    QuadFace() = default;
    // Stamps the face with the next serial.
    QuadFace(const std::array<Point3f, 4> &vertices, int normalIndex, const Rgba &color, uint32_t materialId);

    const float *normal() const { return kFaceNormals[normalIndex]; }

    std::array<Point3f, 4> vertices{};
    Rgba color{};
    Rgba outlineColor{};
    uint8_t normalIndex = 0;
    uint32_t materialId = 0;
    // From a process-wide counter incremented by every face constructed; not relied on to be unique.
    uint32_t serial = 0;
};

// Readable form for test failure messages.
std::ostream &operator<<(std::ostream &out, const QuadFace &face);

} // namespace Geometry
} // namespace Model
