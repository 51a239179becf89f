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
    QuadFace(const std::array<Point3f, 4> &vertices, int normalIndex, const Rgba &color, uint32_t materialId,
             uint32_t serial)
        : vertices(vertices),
          color(color),
          outlineColor(color),
          normalIndex(uint8_t(normalIndex)),
          materialId(materialId),
          serial(serial)
    {
    }

    // Reserves `count` consecutive serials of the process-wide counter and returns the first.
    // A list builder takes one block per build and numbers its faces from it: one shared
    // counter bumped per face would bounce its cache line between the builder's threads.
    static uint32_t takeSerials(uint32_t count);

    const float *normal() const { return kFaceNormals[normalIndex]; }

    std::array<Point3f, 4> vertices{};
    Rgba color{};
    Rgba outlineColor{};
    uint8_t normalIndex = 0;
    uint32_t materialId = 0;
    // From a process-wide counter (see takeSerials); not relied on to be unique.
    uint32_t serial = 0;
};

// Readable form for test failure messages.
std::ostream &operator<<(std::ostream &out, const QuadFace &face);

} // namespace Geometry
} // namespace Model
