#pragma once

// Binary space partitioning of planar faces (Fuchs, Kedem & Naylor, 1980): a tree of planes
// that orders translucent faces back to front from any eye point (the painter's algorithm).
//
// Each node takes the plane of the first face of the list it is built from: (a, b, c) is that
// face's normal and d = −(normal · first corner). Every face of the list is classified by the
// signed distances of its four corners to the plane, with kPlaneTolerance:
//   - all corners on the plane (coplanar, either facing)  → kept by the node;
//   - corners on both sides (crossing)                     → kept by the node, not split;
//   - otherwise some corner in front                       → front child;
//   - otherwise some corner behind                         → back child.
// Faces keep their list order within every node and child list, so the tree depends only on
// the order of the input. Faces are not split: a crossing face is drawn between what lies
// behind the node's plane and what lies in front of it, which is the best order without
// splitting. Faces of a cell grid never cross a plane of the grid (they only touch it), so for
// them the order is exact: a face that hides part of another from the eye is drawn after it.
//
// The tree owns copies of its faces, stored node by node in one array; nodes live in another
// array and refer to their children by index, so building allocates per node only for the two
// child lists, never per face.

#include "Model/Geometry/QuadFace.h"
#include "Util/Vector3D.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Model {
namespace Geometry {

class BSPTree {
public:
    // Distance below which a point counts as lying on a plane (length units).
    static constexpr double kPlaneTolerance = 1e-5;

    enum class Side { Front, Back, On };

    struct Plane {
        double a = 0.0;
        double b = 0.0;
        double c = 0.0;
        double d = 0.0;

        double distance(double x, double y, double z) const { return a * x + b * y + c * z + d; }
        Side classify(double x, double y, double z) const;
    };

    static constexpr int32_t kNoChild = -1;

    struct Node {
        Plane plane;
        uint32_t firstFace = 0; // into faces()
        uint32_t faceCount = 0;
        int32_t front = kNoChild; // into nodes()
        int32_t back = kNoChild;
    };

    BSPTree() = default;
    explicit BSPTree(std::vector<QuadFace> faces);

    bool empty() const { return nodeList.empty(); }
    // Node 0 is the root.
    const std::vector<Node> &nodes() const { return nodeList; }
    // All faces, grouped by node: node n holds faces()[n.firstFace, n.firstFace + n.faceCount).
    const std::vector<QuadFace> &faces() const { return faceStore; }

    // Calls visit(const QuadFace *first, size_t count) once per node that holds faces, farthest
    // first as seen from `eye`: at each node, the subtree on the far side of the plane, then the
    // node's own faces, then the subtree on the eye's side (an eye on the plane counts as in
    // front). Iterative, so degenerate (list-like) trees cannot exhaust the call stack.
    template <typename Visitor>
    void walkBackToFront(const Util::Vector3D &eye, Visitor &&visit) const;

    // Lets the caller change the faces in place (recolouring); the geometry must stay as it is.
    template <typename Function>
    void forEachFace(Function &&change)
    {
        for (QuadFace &face : faceStore)
            change(face);
    }

private:
    std::vector<Node> nodeList;
    std::vector<QuadFace> faceStore;
};

template <typename Visitor>
void BSPTree::walkBackToFront(const Util::Vector3D &eye, Visitor &&visit) const
{
    if (nodeList.empty())
        return;
    // A node is pushed once to be expanded and, when expanded, once more to have its faces
    // drawn between its two subtrees.
    struct Step {
        int32_t node;
        bool drawFaces;
    };
    std::vector<Step> stack;
    stack.push_back({0, false});
    while (!stack.empty()) {
        const Step step = stack.back();
        stack.pop_back();
        const Node &node = nodeList[size_t(step.node)];
        if (step.drawFaces) {
            if (node.faceCount > 0)
                visit(faceStore.data() + node.firstFace, size_t(node.faceCount));
            continue;
        }
        const bool eyeBehind = node.plane.classify(eye.x, eye.y, eye.z) == Side::Back;
        const int32_t farSide = eyeBehind ? node.front : node.back;
        const int32_t nearSide = eyeBehind ? node.back : node.front;
        // Pushed in reverse of the visiting order.
        if (nearSide != kNoChild)
            stack.push_back({nearSide, false});
        stack.push_back({step.node, true});
        if (farSide != kNoChild)
            stack.push_back({farSide, false});
    }
}

} // namespace Geometry
} // namespace Model
