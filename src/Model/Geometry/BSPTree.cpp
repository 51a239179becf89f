#include "BSPTree.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

namespace Model {
namespace Geometry {

namespace {

// How a whole face lies relative to a plane.
enum class Placement { Front, Back, OnOrCrossing };

BSPTree::Plane planeOf(const QuadFace &face)
{
    const float *n = face.normal();
    const Point3f &p = face.vertices[0];
    BSPTree::Plane plane;
    plane.a = n[0];
    plane.b = n[1];
    plane.c = n[2];
    plane.d = -(plane.a * p[0] + plane.b * p[1] + plane.c * p[2]);
    return plane;
}

// A face's corners reduced to what the classification needs. Face normals lie along an axis,
// so so do the planes, and a face's distances to a plane along axis A run from its lowest to
// its highest coordinate along A: the extremes say everything about the four corners.
struct Extent {
    std::array<float, 3> low;
    std::array<float, 3> high;

    explicit Extent(const QuadFace &face) : low(face.vertices[0]), high(face.vertices[0])
    {
        for (const Point3f &p : face.vertices)
            for (int a = 0; a < 3; ++a) {
                low[a] = std::min(low[a], p[a]);
                high[a] = std::max(high[a], p[a]);
            }
    }
};

// A node's plane as the axis of its normal, the side the normal points to, and d.
struct AxisPlane {
    int axis = 0;
    double sign = 1.0;
    double d = 0.0;

    explicit AxisPlane(const BSPTree::Plane &plane) : d(plane.d)
    {
        const double normal[3] = {plane.a, plane.b, plane.c};
        while (axis < 2 && normal[axis] == 0.0)
            ++axis;
        sign = normal[axis];
    }

    Placement placementOf(const Extent &extent) const
    {
        const double atLow = sign * extent.low[axis] + d;
        const double atHigh = sign * extent.high[axis] + d;
        const bool anyFront = std::max(atLow, atHigh) > BSPTree::kPlaneTolerance;
        const bool anyBack = std::min(atLow, atHigh) < -BSPTree::kPlaneTolerance;
        if (anyFront && !anyBack)
            return Placement::Front;
        if (anyBack && !anyFront)
            return Placement::Back;
        return Placement::OnOrCrossing;
    }
};

} // namespace

BSPTree::Side BSPTree::Plane::classify(double x, double y, double z) const
{
    const double s = distance(x, y, z);
    if (s > kPlaneTolerance)
        return Side::Front;
    if (s < -kPlaneTolerance)
        return Side::Back;
    return Side::On;
}

BSPTree::BSPTree(std::vector<QuadFace> faces)
{
    if (faces.empty())
        return;
    faceStore.reserve(faces.size());

    // A list of faces (indices into `faces`, in input order) waiting to become a node, and
    // where that node hangs.
    struct Pending {
        std::vector<uint32_t> list;
        int32_t parent;
        bool isFrontChild;
    };
    std::vector<Extent> extents;
    extents.reserve(faces.size());
    for (const QuadFace &face : faces)
        extents.emplace_back(face);
    std::vector<uint32_t> all(faces.size());
    std::iota(all.begin(), all.end(), 0u);
    std::vector<Pending> work;
    work.push_back({std::move(all), kNoChild, false});

    while (!work.empty()) {
        Pending pending = std::move(work.back());
        work.pop_back();

        const int32_t index = int32_t(nodeList.size());
        if (pending.parent != kNoChild) {
            Node &parent = nodeList[size_t(pending.parent)];
            (pending.isFrontChild ? parent.front : parent.back) = index;
        }

        Node node;
        node.plane = planeOf(faces[pending.list.front()]);
        const AxisPlane plane(node.plane);
        node.firstFace = uint32_t(faceStore.size());
        std::vector<uint32_t> front;
        std::vector<uint32_t> back;
        for (size_t k = 0; k < pending.list.size(); ++k) {
            const uint32_t i = pending.list[k];
            // The face that defines the plane always stays, even if its corners are not quite
            // planar, so that every child list is strictly shorter than its parent's.
            const Placement placement = k == 0 ? Placement::OnOrCrossing : plane.placementOf(extents[i]);
            if (placement == Placement::Front)
                front.push_back(i);
            else if (placement == Placement::Back)
                back.push_back(i);
            else
                faceStore.push_back(std::move(faces[i]));
        }
        node.faceCount = uint32_t(faceStore.size()) - node.firstFace;
        nodeList.push_back(node);

        if (!back.empty())
            work.push_back({std::move(back), index, false});
        if (!front.empty())
            work.push_back({std::move(front), index, true});
    }
}

} // namespace Geometry
} // namespace Model
