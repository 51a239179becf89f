#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace Model {
namespace Geometry {

// One cube of an octree over cell coordinates. A leaf holds a single material for all its
// cells and has no children; an inner node has all eight children and its material carries no
// meaning. Child i = 4·bx + 2·by + bz covers the upper half along x, y, z where bx, by, bz are 1,
// and its origin is origin + (size/2)·(bx, by, bz).
struct OctreeNode {
    static constexpr int kChildCount = 8;
    // Bit of a child index that selects the upper half along x, y and z.
    static constexpr int kUpperX = 4;
    static constexpr int kUpperY = 2;
    static constexpr int kUpperZ = 1;

    static int childIndex(int bx, int by, int bz) { return bx * kUpperX + by * kUpperY + bz * kUpperZ; }

    // Index of this node among its parent's children; only for a node that has a parent.
    int indexInParent() const
    {
        return childIndex(origin[0] != parent->origin[0], origin[1] != parent->origin[1],
                          origin[2] != parent->origin[2]);
    }

    uint32_t material = 0;
    OctreeNode *parent = nullptr;
    std::array<std::unique_ptr<OctreeNode>, kChildCount> children;
    std::array<uint32_t, 3> origin{};
    uint32_t size = 1; // edge length in cells, a power of two
    bool leaf = true;
};

} // namespace Geometry
} // namespace Model
