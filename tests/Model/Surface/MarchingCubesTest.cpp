// Marching-cubes surfaces of cell volumes: where the triangles lie, what they show, their normals,
// and that the thread count changes nothing.

#include "MarchingCubesMesh.h"
#include "PainterTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cmath>
#include <iomanip>
#include <random>
#include <set>

using namespace MarchingCubesMesh;
using namespace PainterTestSupport;
using Model::Geometry::MarchingCubeSurface;
using Model::Geometry::Rgba;
using Util::Slab;
using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::Pointwise;

namespace {

constexpr uint32_t kMaterialA = 5;
constexpr uint32_t kMaterialB = 9;

// Cells of two materials at random, some of them cut, with the given cell lengths.
std::unique_ptr<TotalVolume> randomBlobs(uint32_t nx, uint32_t ny, uint32_t nz, const float s[3], unsigned seed)
{
    auto volume = emptyVolume(nx, ny, nz, s[0], s[1], s[2]);
    std::mt19937 random(seed);
    Model::Automaton::Cell *cells = volume->lockCells();
    for (uint32_t i = 0; i < volume->cellCount(); ++i) {
        const unsigned draw = random() % 10;
        cells[i].setMaterial(draw < 3 ? kMaterialA : draw < 5 ? kMaterialB : 0);
        cells[i].setCutCount(random() % 9 == 0 ? 1 : 0);
    }
    volume->unlockCells();
    return volume;
}

std::vector<std::string> describe(const std::vector<Triangle> &triangles)
{
    std::vector<std::string> lines;
    lines.reserve(triangles.size());
    for (const Triangle &t : triangles) {
        std::ostringstream line;
        line << std::setprecision(9);
        for (const auto &v : t.vertices)
            line << text(v.position) << " n" << text(v.normal) << " m" << v.materialId << "; ";
        lines.push_back(line.str());
    }
    return lines;
}

TEST(MarchingCubes, ALoneFilledCellIsCutOffByOneTriangleInEachOfItsEightCubes)
{
    const float s[3] = {2.0f, 3.0f, 0.5f};
    auto volume = emptyVolume(3, 3, 3, s[0], s[1], s[2]);
    setMaterial(*volume, 1, 1, 1, kMaterialA);
    const auto triangles = buildWhole(*volume);

    // Cubes come in x, y, z order; cube (cx, cy, cz) holds the cell at its corner 1 − c.
    ASSERT_EQ(triangles.size(), 8u);
    for (int cube = 0; cube < 8; ++cube) {
        const int side[3] = {(cube & 4) ? 1 : -1, (cube & 2) ? 1 : -1, (cube & 1) ? 1 : -1};
        std::set<Point3f> expected;
        for (int axis = 0; axis < 3; ++axis) {
            Point3f midpoint{s[0], s[1], s[2]};
            midpoint[axis] += side[axis] * 0.5f * s[axis];
            expected.insert(midpoint);
        }
        std::set<Point3f> actual;
        for (const auto &v : triangles[cube].vertices) {
            actual.insert(v.position);
            EXPECT_EQ(v.materialId, kMaterialA);
        }
        EXPECT_EQ(actual, expected) << "cube " << cube;
    }
    EXPECT_EQ(closureProblem(triangles), "");
    EXPECT_GT(signedVolume(triangles), 0.0);
}

TEST(MarchingCubes, CornersCountOnlyAboveTheLowerLimitUpToTheUpperOneAndWhenNotCut)
{
    auto volume = emptyVolume(5, 5, 5);
    setMaterial(*volume, 2, 2, 2, kMaterialA);
    const uint32_t whole[3] = {5, 5, 5};
    const uint32_t zero[3] = {0, 0, 0};

    const uint32_t lowerAtCell[3] = {0, 2, 0};
    EXPECT_TRUE(buildOver(*volume, lowerAtCell, whole).empty());
    const uint32_t upperAtCell[3] = {5, 5, 2};
    EXPECT_EQ(buildOver(*volume, zero, upperAtCell).size(), 8u);
    const uint32_t upperBelowCell[3] = {1, 5, 5};
    EXPECT_TRUE(buildOver(*volume, zero, upperBelowCell).empty());

    setCutCount(*volume, 2, 2, 2, 1);
    EXPECT_TRUE(buildWhole(*volume).empty());
}

// Every vertex sits halfway between a counted filled corner and an empty one, and shows the
// filled corner's material.
void expectVerticesBetweenFilledAndEmpty(TotalVolume &volume, const std::vector<Triangle> &triangles,
                                         const uint32_t lower[3], const uint32_t upper[3])
{
    const float s[3] = {volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()};
    const uint32_t size[3] = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    std::vector<uint32_t> counted(volume.cellCount());
    const Model::Automaton::Cell *cells = volume.lockCells();
    for (uint32_t i = 0; i < volume.cellCount(); ++i)
        counted[i] = cells[i].cutCount() == 0 ? cells[i].material() : 0;
    volume.unlockCells();
    auto value = [&](const int64_t c[3]) -> uint32_t {
        for (int a = 0; a < 3; ++a)
            if (c[a] <= int64_t(lower[a]) || c[a] > int64_t(upper[a]) || c[a] >= int64_t(size[a]))
                return 0;
        return counted[volume.cellIndex(uint32_t(c[0]), uint32_t(c[1]), uint32_t(c[2]))];
    };
    for (const Triangle &t : triangles) {
        for (const auto &v : t.vertices) {
            int64_t low[3], high[3];
            int halfAxes = 0;
            for (int a = 0; a < 3; ++a) {
                const int64_t twice = std::llround(2.0 * v.position[a] / s[a]);
                low[a] = twice / 2;
                high[a] = (twice + 1) / 2;
                halfAxes += twice % 2 != 0 ? 1 : 0;
            }
            ASSERT_EQ(halfAxes, 1) << "vertex " << text(v.position) << " is not an edge midpoint";
            const uint32_t a = value(low), b = value(high);
            ASSERT_TRUE((a == 0) != (b == 0)) << "vertex " << text(v.position);
            EXPECT_EQ(v.materialId, a != 0 ? a : b) << "vertex " << text(v.position);
        }
    }
}

// Vertices whose positions round to the same grid point share one unit normal.
void expectOneUnitNormalPerGridPoint(const std::vector<Triangle> &triangles, const float s[3])
{
    std::map<std::array<int64_t, 3>, Point3f> normals;
    for (const Triangle &t : triangles) {
        for (const auto &v : t.vertices) {
            const auto &n = v.normal;
            EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-5f) << text(v.position);
            std::array<int64_t, 3> point;
            for (int a = 0; a < 3; ++a)
                point[a] = int64_t(std::floor(v.position[a] / s[a] + 0.5f));
            const auto found = normals.emplace(point, n);
            EXPECT_EQ(found.first->second, n) << text(v.position);
        }
    }
}

TEST(MarchingCubes, RandomBlobsGiveAClosedOutwardSurfaceWithVerticesBetweenFilledAndEmptyCorners)
{
    const float s[3] = {0.5f, 1.0f, 2.0f};
    for (unsigned seed : {11u, 12u, 13u}) {
        auto volume = randomBlobs(13, 11, 9, s, seed);
        const uint32_t lower[3] = {1, 0, 2};
        const uint32_t upper[3] = {11, 11, 8};
        const auto triangles = buildOver(*volume, lower, upper);
        ASSERT_GT(triangles.size(), 500u);
        EXPECT_EQ(closureProblem(triangles), "") << "seed " << seed;
        EXPECT_GT(signedVolume(triangles), 0.0) << "seed " << seed;
        expectVerticesBetweenFilledAndEmpty(*volume, triangles, lower, upper);
        expectOneUnitNormalPerGridPoint(triangles, s);
    }
}

TEST(MarchingCubes, ThreadCountChangesNeitherTheTrianglesNorTheirOrder)
{
    const float s[3] = {0.3f, 1.0f, 0.7f};
    auto volume = randomBlobs(23, 10, 8, s, 7);
    auto trianglesWith = [&](int threads, const uint32_t lower[3], const uint32_t upper[3]) {
        ScopedMaxThreads scoped(threads);
        return describe(buildOver(*volume, lower, upper));
    };

    const uint32_t lower[3] = {1, 0, 0};
    const uint32_t upper[3] = {22, 10, 8};
    const auto single = trianglesWith(1, lower, upper);
    ASSERT_GT(single.size(), 1000u);
    for (int threads : {2, 3, 8})
        EXPECT_EQ(trianglesWith(threads, lower, upper), single) << threads << " threads";

    // Narrower along x than the thread count.
    const uint32_t narrowLower[3] = {6, 2, 1};
    const uint32_t narrowUpper[3] = {8, 9, 7};
    const auto narrowSingle = trianglesWith(1, narrowLower, narrowUpper);
    ASSERT_FALSE(narrowSingle.empty());
    for (int threads : {3, 8})
        EXPECT_EQ(trianglesWith(threads, narrowLower, narrowUpper), narrowSingle) << threads << " threads";
}

TEST(MarchingCubes, WorkersShareTheCutBoxAlongXAndTheLastRunsOnToTheVolumeEnd)
{
    EXPECT_THAT(MarchingCubeSurface::workerSlabs(2, 10, 12, 3),
                ElementsAre(Slab{2, 4}, Slab{4, 6}, Slab{6, 12}));
    EXPECT_THAT(MarchingCubeSurface::workerSlabs(2, 10, 12, 1), ElementsAre(Slab{2, 12}));
    EXPECT_THAT(MarchingCubeSurface::workerSlabs(3, 5, 9, 3), ElementsAre(Slab{0, 9}));
}

// Around a lone cell at c, the midpoints above it (c + ½ on one axis) round to three grid points
// of their own and keep the axis directions; the three below round to c itself and share the
// mean of all the triangles touching them.
TEST(MarchingCubes, ALoneCellsNormalsAreTheMeansOverItsGridPoints)
{
    auto volume = emptyVolume(3, 3, 3);
    setMaterial(*volume, 1, 1, 1, kMaterialA);
    const float diagonal = -1.0f / std::sqrt(3.0f);
    for (const Triangle &t : buildWhole(*volume)) {
        for (const auto &v : t.vertices) {
            Point3f expected{diagonal, diagonal, diagonal};
            for (int axis = 0; axis < 3; ++axis) {
                if (v.position[axis] > 1.0f) {
                    expected = {0.0f, 0.0f, 0.0f};
                    expected[axis] = 1.0f;
                }
            }
            EXPECT_THAT(v.normal, Pointwise(FloatNear(1e-6f), expected)) << text(v.position);
        }
    }
}

TEST(MarchingCubes, ColorMapHighlightsTheCatalogueColoursOfASelectedVolume)
{
    auto volume = emptyVolume(2, 2, 2);
    MarchingCubeSurface surface(*volume);
    const Model::Geometry::MaterialColorMap catalogue{{0, {0.0f, 0.0f, 0.0f, 0.0f}},
                                                      {kMaterialA, {0.8f, 0.2f, 0.5f, 1.0f}}};

    surface.rebuildColorMap(catalogue, false);
    EXPECT_EQ(surface.color(kMaterialA), (Rgba{0.8f, 0.2f, 0.5f, 1.0f}));
    EXPECT_EQ(surface.color(0), (Rgba{0.0f, 0.0f, 0.0f, 0.0f}));

    EXPECT_EQ(surface.color(kUnknown), (Rgba{0.5f, 0.5f, 0.5f, 1.0f}));

    surface.rebuildColorMap(catalogue, true);
    EXPECT_THAT(surface.color(kMaterialA), Pointwise(FloatNear(1e-6f), Rgba{0.1f, 0.5f, 0.8f, 1.0f}));
    EXPECT_THAT(surface.color(kUnknown), Pointwise(FloatNear(1e-6f), Rgba{0.8f, 0.8f, 0.8f, 1.0f}))
        << "highlighted like every other colour, as on the cube faces";
}

} // namespace
