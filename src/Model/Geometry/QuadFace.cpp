#include "QuadFace.h"

#include <atomic>
#include <ostream>

namespace Model {
namespace Geometry {

namespace {
std::atomic<uint32_t> nextSerial{0};
}

QuadFace::QuadFace(const std::array<Point3f, 4> &vertices, int normalIndex, const Rgba &color, uint32_t materialId)
    : QuadFace(vertices, normalIndex, color, materialId, takeSerials(1))
{
}

uint32_t QuadFace::takeSerials(uint32_t count)
{
    return nextSerial.fetch_add(count, std::memory_order_relaxed);
}

std::ostream &operator<<(std::ostream &out, const QuadFace &face)
{
    out << "face n" << int(face.normalIndex) << " m" << face.materialId << " [";
    for (int j = 0; j < 4; ++j) {
        const auto &v = face.vertices[j];
        out << (j ? " " : "") << '(' << v[0] << ',' << v[1] << ',' << v[2] << ')';
    }
    return out << ']';
}

} // namespace Geometry
} // namespace Model
