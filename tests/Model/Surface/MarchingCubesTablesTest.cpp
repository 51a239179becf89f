// The marching cubes case tables: what each row may contain, and that every case, placed in a
// volume, closes with its neighbouring cubes into one outward-facing surface.

#include "MarchingCubesMesh.h"
#include "PainterTestSupport.h"

#include "Model/Geometry/MarchingCubeTables.h"

#include <gtest/gtest.h>

using namespace MarchingCubesMesh;
namespace Tables = Model::Geometry::MarchingCubes;

namespace {

bool filled(int config, int corner)
{
    return ((config >> corner) & 1) != 0;
}

TEST(MarchingCubesTables, RowsUseOnlyAndAllTheEdgesBetweenFilledAndEmptyCorners)
{
    const Tables::CaseTables &tables = Tables::caseTables();
    for (int config = 0; config < Tables::kCaseCount; ++config) {
        unsigned expectedMask = 0;
        for (int e = 0; e < Tables::kEdgeCount; ++e)
            if (filled(config, Tables::kEdgeCorners[e][0]) != filled(config, Tables::kEdgeCorners[e][1]))
                expectedMask |= 1u << e;
        EXPECT_EQ(tables.edgeMask[config], expectedMask) << "case " << config;

        const auto &row = tables.triangles[config];
        unsigned usedMask = 0;
        int length = 0;
        while (length < Tables::kRowLength && row[length] != Tables::kEndOfRow) {
            ASSERT_GE(row[length], 0) << "case " << config;
            ASSERT_LT(row[length], Tables::kEdgeCount) << "case " << config;
            usedMask |= 1u << row[length];
            ++length;
        }
        ASSERT_LT(length, Tables::kRowLength) << "case " << config << " is not terminated";
        EXPECT_EQ(length % 3, 0) << "case " << config;
        EXPECT_LE(length / 3, Tables::kMaxTrianglesPerCase) << "case " << config;
        EXPECT_EQ(usedMask, expectedMask) << "case " << config;
    }
}

// Each case as eight filled cells of a small volume: the cube between them has that case, and
// its neighbours see the same corners from outside, so any two cubes that cut a shared face
// differently leave a hole or a doubled edge.
TEST(MarchingCubesTables, EveryCaseClosesIntoAnOutwardSurfaceWithItsNeighbours)
{
    constexpr uint32_t kMaterial = 4;
    for (int config = 1; config < Tables::kCaseCount; ++config) {
        auto volume = PainterTestSupport::emptyVolume(4, 4, 4);
        for (int corner = 0; corner < Tables::kCornerCount; ++corner) {
            if (filled(config, corner)) {
                const auto &offset = Tables::kCornerOffsets[corner];
                PainterTestSupport::setMaterial(*volume, 1 + offset[0], 1 + offset[1], 1 + offset[2], kMaterial);
            }
        }
        const auto triangles = buildWhole(*volume);
        ASSERT_FALSE(triangles.empty()) << "case " << config;
        EXPECT_EQ(closureProblem(triangles), "") << "case " << config;
        EXPECT_GT(signedVolume(triangles), 0.0) << "case " << config;
    }
}

} // namespace
