// The BSP tree of translucent faces: every face kept once, drawn farthest first.

#include "Model/Geometry/BSPTree.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>

using Model::Geometry::BSPTree;
using Model::Geometry::QuadFace;

namespace {

// Face k of the unit cell (x, y, z).
QuadFace gridFace(int x, int y, int z, int k)
{
    std::array<Model::Geometry::Point3f, 4> corners;
    for (int j = 0; j < 4; ++j) {
        const int *v = Model::Geometry::kFaceCorners[k][j];
        corners[j] = {float(x + v[0]), float(y + v[1]), float(z + v[2])};
    }
    return QuadFace(corners, k, {0.2f, 0.4f, 0.6f, 0.5f}, 2901);
}

std::vector<QuadFace> randomGridFaces(size_t count, int extent, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<QuadFace> faces;
    for (size_t i = 0; i < count; ++i)
        faces.push_back(gridFace(int(random() % extent), int(random() % extent), int(random() % extent),
                                 int(random() % 6)));
    return faces;
}

// The serials of the faces in the order the walk from `eye` hands them out.
std::vector<uint32_t> walkOrder(const BSPTree &tree, const Util::Vector3D &eye)
{
    std::vector<uint32_t> order;
    tree.walkBackToFront(eye, [&](const QuadFace *faces, size_t count) {
        for (size_t i = 0; i < count; ++i)
            order.push_back(faces[i].serial);
    });
    return order;
}

// Whether `front` hides part of `back` seen from `eye`: a sight line from the eye to a point
// inside `back` passes through the inside of `front` on its way. Faces are axis-aligned.
bool hidesPartOf(const QuadFace &front, const QuadFace &back, const Util::Vector3D &eye)
{
    const int axis = front.normal()[0] != 0 ? 0 : front.normal()[1] != 0 ? 1 : 2;
    const double plane = front.vertices[0][axis];
    const double e[3] = {eye.x, eye.y, eye.z};
    for (double s : {0.1, 0.5, 0.9})
        for (double t : {0.1, 0.5, 0.9}) {
            double p[3];
            for (int a = 0; a < 3; ++a)
                p[a] = back.vertices[0][a] + s * (back.vertices[1][a] - back.vertices[0][a])
                       + t * (back.vertices[3][a] - back.vertices[0][a]);
            if ((e[axis] - plane) * (p[axis] - plane) >= 0.0)
                continue;
            const double along = (plane - e[axis]) / (p[axis] - e[axis]);
            bool inside = true;
            for (int a = 0; a < 3; ++a) {
                if (a == axis)
                    continue;
                const double q = e[a] + along * (p[a] - e[a]);
                const auto [low, high] = std::minmax({front.vertices[0][a], front.vertices[2][a]});
                inside = inside && q > low && q < high;
            }
            if (inside)
                return true;
        }
    return false;
}

TEST(BSPTree, EveryFaceIsDrawnOnceAndNoneBeforeAFaceItHides)
{
    EXPECT_TRUE(BSPTree(std::vector<QuadFace>()).empty());
    const auto faces = randomGridFaces(120, 5, 5);
    const BSPTree tree(faces);
    std::vector<uint32_t> given;
    for (const auto &face : faces)
        given.push_back(face.serial);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(-4.0, 9.0);
    size_t hidingPairs = 0;
    for (int trial = 0; trial < 8; ++trial) {
        // Off the grid planes, so that no sight line runs along a face.
        const Util::Vector3D eye(coordinate(random) + 0.013, coordinate(random) + 0.029, coordinate(random) + 0.007);
        const auto order = walkOrder(tree, eye);
        auto sorted = order;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, given) << "every face handed out once";
        std::map<uint32_t, size_t> position;
        for (size_t i = 0; i < order.size(); ++i)
            position[order[i]] = i;
        for (const auto &front : faces)
            for (const auto &back : faces)
                if (&front != &back && hidesPartOf(front, back, eye)) {
                    ++hidingPairs;
                    EXPECT_GT(position[front.serial], position[back.serial])
                        << front << " hides part of " << back << " from " << eye;
                }
    }
    EXPECT_GT(hidingPairs, 100u);
}

} // namespace
