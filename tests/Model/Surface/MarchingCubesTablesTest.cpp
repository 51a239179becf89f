// The marching cubes case tables: what each row may contain, and that every case, placed in a
// volume, closes with its neighbouring cubes into one outward-facing surface.

#include "MarchingCubesMesh.h"
#include "PainterTestSupport.h"

#include "Model/Geometry/MarchingCubeTables.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <vector>

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

// The outline of a row's triangles: the directed edges that no other triangle of the row runs
// back along, chained into loops of cube edges. Each loop starts at its smallest edge, keeping
// its direction; the loops come sorted. A row that fills its loops with any fan or strip of
// triangles, wound as the loops run, has this outline.
std::vector<std::vector<int>> outlineOf(int config)
{
    const auto &row = Tables::caseTables().triangles[config];
    std::map<std::pair<int, int>, int> uses;
    for (int i = 0; row[i] != Tables::kEndOfRow; i += 3)
        for (int j = 0; j < 3; ++j)
            ++uses[{row[i + j], row[i + (j + 1) % 3]}];
    std::map<int, int> next;
    for (const auto &[edge, count] : uses) {
        const auto reverse = uses.find({edge.second, edge.first});
        const int net = count - (reverse == uses.end() ? 0 : reverse->second);
        if (net == 1)
            next[edge.first] = edge.second;
        else if (net != -1 && net != 0)
            return {{-1}};
    }
    std::vector<std::vector<int>> loops;
    while (!next.empty()) {
        std::vector<int> loop;
        for (int e = next.begin()->first; next.count(e) != 0;) {
            loop.push_back(e);
            const int following = next[e];
            next.erase(e);
            e = following;
        }
        std::rotate(loop.begin(), std::min_element(loop.begin(), loop.end()), loop.end());
        loops.push_back(loop);
    }
    std::sort(loops.begin(), loops.end());
    return loops;
}

int corners(std::initializer_list<int> filledCorners)
{
    int config = 0;
    for (int corner : filledCorners)
        config |= 1 << corner;
    return config;
}

using Loops = std::vector<std::vector<int>>;

// Rows worked out from the numbering alone: corners c0 (0,1,0), c1 (1,1,0), c2 (1,0,0), c3 (0,0,0)
// and c4..c7 one higher; edges 0-3 and 4-7 around the lower and upper squares from c0 and c4,
// 8-11 upward from c0..c3. A loop runs so that (P1 − P0) × (P2 − P0) of its triangles points from
// the filled corners to the empty ones.
TEST(MarchingCubesTables, PinnedRows)
{
    const Tables::CaseTables &tables = Tables::caseTables();
    EXPECT_EQ(tables.triangleCount[0], 0);
    EXPECT_EQ(tables.triangles[0][0], Tables::kEndOfRow);
    EXPECT_EQ(tables.triangleCount[255], 0);
    EXPECT_EQ(tables.triangles[255][0], Tables::kEndOfRow);

    // c0 alone: midpoints (½,1,0), (0,1,½), (0,½,0) of edges 0, 8, 3, facing (1, −1, 1).
    EXPECT_EQ(tables.edgeMask[corners({0})], 0x109);
    EXPECT_EQ(tables.triangleCount[corners({0})], 1);
    EXPECT_EQ(outlineOf(corners({0})), (Loops{{0, 8, 3}}));
    // Its complement: the same triangle facing the other way.
    EXPECT_EQ(outlineOf(0xFF & ~corners({0})), (Loops{{0, 3, 8}}));

    // c0 and c1, the ends of edge 0: the quad (0,½,0), (1,½,0), (1,1,½), (0,1,½) on edges 3, 1, 9,
    // 8, facing (0, −1, 1).
    EXPECT_EQ(tables.triangleCount[corners({0, 1})], 2);
    EXPECT_EQ(outlineOf(corners({0, 1})), (Loops{{1, 9, 8, 3}}));

    // c0, c1 and c2, all of the lower square but c3: a pentagon (½,0,0), (1,0,½), (1,1,½), (0,1,½),
    // (0,½,0) on edges 2, 10, 9, 8, 3, facing up and toward c3.
    EXPECT_EQ(tables.edgeMask[corners({0, 1, 2})], 0x70C);
    EXPECT_EQ(tables.triangleCount[corners({0, 1, 2})], 3);
    EXPECT_EQ(outlineOf(corners({0, 1, 2})), (Loops{{2, 10, 9, 8, 3}}));

    // c0 and c6 share no face: two separate corners, c6 (1,0,1) by edges 5, 10, 6 facing
    // (−1, 1, −1).
    EXPECT_EQ(outlineOf(corners({0, 6})), (Loops{{0, 8, 3}, {5, 10, 6}}));

    // c0 and c2 face each other across the lower square: each is cut off on its own, c2 by edges
    // 1, 2, 10 facing (−1, 1, 1).
    EXPECT_EQ(tables.edgeMask[corners({0, 2})], 0x50F);
    EXPECT_EQ(tables.triangleCount[corners({0, 2})], 2);
    EXPECT_EQ(outlineOf(corners({0, 2})), (Loops{{0, 8, 3}, {1, 2, 10}}));
    // The cube below shares that square as its upper one (c4 over c0, c6 over c2) and cuts it
    // the same way: c4 by edges 4, 7, 8 facing (1, −1, −1), c6 by 5, 10, 6 facing (−1, 1, −1).
    EXPECT_EQ(outlineOf(corners({4, 6})), (Loops{{4, 7, 8}, {5, 10, 6}}));

    // No complement rule for ambiguous squares: with c0 and c2 the empty ones, the filled c1
    // and c3 are kept apart, so the empty corners join under one band of six edges instead of the
    // two reversed triangles of c0 and c2.
    const int bothEmpty = 0xFF & ~corners({0, 2});
    EXPECT_EQ(tables.edgeMask[bothEmpty], 0x50F);
    EXPECT_EQ(tables.triangleCount[bothEmpty], 4);
    EXPECT_EQ(outlineOf(bothEmpty), (Loops{{0, 1, 10, 2, 3, 8}}));
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
