// Marching-cubes surfaces of cell volumes: the case tables, where the triangles lie, what they
// show, their normals, that the surface is closed and outward, and that the thread count changes
// nothing.
//
// A corner outside the counted range of the cut box (at or below the lower limit, above the upper
// one, or past the volume's end) counts as empty, so the surface always closes over the box's
// sides, even where material touches them: no empty border is needed. The surface parts filled
// from empty; two materials that meet make no triangles between them.

#include "PainterTestSupport.h"

#include "Model/Geometry/MarchingCubeSurface.h"
#include "Model/Geometry/MarchingCubeTables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <random>

using namespace PainterTestSupport;
using Model::Geometry::MarchingCubeSurface;
using Model::Geometry::Point3f;
using Model::Geometry::Triangle;
namespace Tables = Model::Geometry::MarchingCubes;
using Util::Slab;
using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::Pointwise;
using ::testing::PrintToString;

namespace {

using Box = std::array<uint32_t, 3>;

std::vector<Triangle> buildOver(TotalVolume &volume, const Box &lower, const Box &upper)
{
    Model::Geometry::MarchingCubeSurface surface(volume);
    surface.build(lower.data(), upper.data());
    return surface.triangles();
}

std::vector<Triangle> buildWhole(TotalVolume &volume)
{
    return buildOver(volume, {0, 0, 0}, {volume.sizeX(), volume.sizeY(), volume.sizeZ()});
}

// Empty when every directed edge is used by exactly one triangle and its reverse by exactly one
// other: the mesh is closed and its triangles agree on their orientation. Otherwise the first
// offending edge.
std::string closureProblem(const std::vector<Triangle> &triangles)
{
    std::map<std::pair<Point3f, Point3f>, int> uses;
    for (const Triangle &t : triangles)
        for (int j = 0; j < 3; ++j)
            ++uses[{t.vertices[j].position, t.vertices[(j + 1) % 3].position}];
    for (const auto &[edge, count] : uses) {
        const auto reverse = uses.find({edge.second, edge.first});
        const int reverseCount = reverse == uses.end() ? 0 : reverse->second;
        if (count != 1 || reverseCount != 1)
            return "edge " + PrintToString(edge) + " used " + std::to_string(count) + " times, its reverse " +
                   std::to_string(reverseCount) + " times";
    }
    return {};
}

// (b − a) × (c − a) and a · (b × c) of a triangle's corners.
std::array<double, 3> cross(const Point3f &a, const Point3f &b, const Point3f &c)
{
    const double u[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
    const double v[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}
double tripleProduct(const Point3f &a, const Point3f &b, const Point3f &c)
{
    return a[0] * (double(b[1]) * c[2] - double(b[2]) * c[1]) + a[1] * (double(b[2]) * c[0] - double(b[0]) * c[2]) +
           a[2] * (double(b[0]) * c[1] - double(b[1]) * c[0]);
}

// Empty when every triangle spans an area; otherwise the first one that does not.
std::string degenerateProblem(const std::vector<Triangle> &triangles)
{
    for (size_t i = 0; i < triangles.size(); ++i) {
        const auto &v = triangles[i].vertices;
        if (cross(v[0].position, v[1].position, v[2].position) == std::array<double, 3>{0.0, 0.0, 0.0})
            return "triangle " + std::to_string(i) + " " + PrintToString(v[0].position) +
                   PrintToString(v[1].position) + PrintToString(v[2].position) + " has no area";
    }
    return {};
}

// Volume enclosed by a closed mesh; positive when its normals point outward.
double signedVolume(const std::vector<Triangle> &triangles)
{
    double sum = 0.0;
    for (const Triangle &t : triangles)
        sum += tripleProduct(t.vertices[0].position, t.vertices[1].position, t.vertices[2].position);
    return sum / 6.0;
}

constexpr uint32_t kMaterialA = 5;
constexpr uint32_t kMaterialB = 9;

// Every vertex sits halfway between a counted filled corner and an empty one, and shows the
// filled corner's material: corners outside the box's counted range or in cut cells are empty,
// and two materials that meet make no triangles between them.
void expectVerticesBetweenFilledAndEmpty(TotalVolume &volume, const std::vector<Triangle> &triangles,
                                         const Box &lower, const Box &upper)
{
    const float s[3] = {volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()};
    const uint32_t size[3] = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    std::vector<uint32_t> counted(volume.cellCount());
    {
        const Model::Automaton::CellReadLock lock(volume);
        for (uint32_t i = 0; i < volume.cellCount(); ++i)
            counted[i] = lock.cells()[i].cutCount() == 0 ? lock.cells()[i].material() : 0;
    }
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
            const std::string where = "vertex " + PrintToString(v.position);
            ASSERT_EQ(halfAxes, 1) << where << " is not an edge midpoint";
            const uint32_t a = value(low), b = value(high);
            ASSERT_TRUE((a == 0) != (b == 0)) << where;
            EXPECT_EQ(v.materialId, a != 0 ? a : b) << where;
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
            EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-5f) << PrintToString(v.position);
            std::array<int64_t, 3> point;
            for (int a = 0; a < 3; ++a)
                point[a] = int64_t(std::floor(v.position[a] / s[a] + 0.5f));
            EXPECT_EQ(normals.emplace(point, n).first->second, n) << PrintToString(v.position);
        }
    }
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
            EXPECT_THAT(v.normal, Pointwise(FloatNear(1e-6f), expected)) << PrintToString(v.position);
        }
    }
}

static_assert(sizeof(Triangle) == 3 * (6 * sizeof(float) + sizeof(uint32_t)),
              "triangles compare byte for byte only without padding");

bool sameBits(const std::vector<Triangle> &a, const std::vector<Triangle> &b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Triangle)) == 0);
}

using CellRule = std::function<uint32_t(uint32_t x, uint32_t y, uint32_t z, std::mt19937 &random)>;

struct Sample {
    std::string name;
    Box size;
    std::array<float, 3> cellLength;
    unsigned seed;
    CellRule material;
    double cutRatio = 0.0;
};

std::unique_ptr<TotalVolume> volumeOf(const Sample &sample)
{
    auto volume = emptyVolume(sample.size[0], sample.size[1], sample.size[2], sample.cellLength[0],
                              sample.cellLength[1], sample.cellLength[2]);
    std::mt19937 random(sample.seed);
    std::bernoulli_distribution cut(sample.cutRatio);
    const Model::Automaton::CellLock lock(*volume);
    for (uint32_t x = 0; x < sample.size[0]; ++x)
        for (uint32_t y = 0; y < sample.size[1]; ++y)
            for (uint32_t z = 0; z < sample.size[2]; ++z) {
                Model::Automaton::Cell &cell = lock.cells()[volume->cellIndex(x, y, z)];
                cell.setMaterial(sample.material(x, y, z, random));
                cell.setCutCount(cut(random) ? 1 : 0);
            }
    return volume;
}

std::vector<Sample> samples()
{
    // Filled with probability `fill`, by one material or two.
    const auto randomFill = [](double fill, bool twoMaterials) -> CellRule {
        return [=](uint32_t, uint32_t, uint32_t, std::mt19937 &random) -> uint32_t {
            std::uniform_real_distribution<double> draw(0.0, 1.0);
            if (draw(random) >= fill)
                return 0;
            return twoMaterials && draw(random) < 0.5 ? kMaterialB : kMaterialA;
        };
    };
    // Filled where (x + y + z) is even, so that every face of every cube is ambiguous, with a
    // fraction `noise` of the cells flipped.
    const auto checkerboard = [](double noise) -> CellRule {
        return [=](uint32_t x, uint32_t y, uint32_t z, std::mt19937 &random) -> uint32_t {
            return ((x + y + z) % 2 == 0) != std::bernoulli_distribution(noise)(random) ? kMaterialA : 0;
        };
    };
    // Columns filled where (x + y) is even: the faces across z are ambiguous, the others are not.
    const CellRule checkeredColumns = [](uint32_t x, uint32_t y, uint32_t, std::mt19937 &) -> uint32_t {
        return (x + y) % 2 == 0 ? kMaterialB : 0;
    };
    const std::array<float, 3> unit{1.0f, 1.0f, 1.0f}, uneven{0.3f, 1.25f, 0.7f}, binary{0.5f, 1.0f, 2.0f};
    std::vector<Sample> out;
    for (unsigned seed : {1u, 2u}) {
        for (double fill : {0.1, 0.5, 0.9}) {
            const std::string tag = "fill " + std::to_string(fill) + " seed " + std::to_string(seed);
            out.push_back({"one cell, " + tag, {1, 1, 1}, unit, seed, randomFill(fill, false)});
            out.push_back({"2x2x2, " + tag, {2, 2, 2}, unit, seed, randomFill(fill, false)});
            out.push_back({"3x4x5, " + tag, {3, 4, 5}, uneven, seed, randomFill(fill, true)});
            out.push_back({"19x7x6, " + tag, {19, 7, 6}, uneven, seed, randomFill(fill, true), 0.1});
            out.push_back({"12x13x11, " + tag, {12, 13, 11}, binary, seed, randomFill(fill, true)});
        }
        const std::string tag = " seed " + std::to_string(seed);
        out.push_back({"checkerboard" + tag, {11, 9, 8}, unit, seed, checkerboard(0.0)});
        out.push_back({"checkerboard, 10% flipped" + tag, {14, 9, 10}, uneven, seed, checkerboard(0.1)});
        out.push_back({"checkerboard, 40% flipped" + tag, {9, 12, 7}, unit, seed, checkerboard(0.4), 0.05});
        out.push_back({"checkered columns" + tag, {10, 8, 6}, uneven, seed, checkeredColumns});
    }
    return out;
}

// The whole volume, and a box cut somewhere inside it (its sides cross the material).
std::vector<std::pair<Box, Box>> boxesFor(const Sample &sample)
{
    std::mt19937 random(sample.seed + 1000);
    Box lower{}, upper{};
    for (int a = 0; a < 3; ++a) {
        lower[a] = uint32_t(random() % sample.size[a]);
        upper[a] = lower[a] + 1 + uint32_t(random() % (sample.size[a] - lower[a]));
    }
    return {{{0, 0, 0}, sample.size}, {lower, upper}};
}

TEST(MarchingCubes, RandomVolumesGiveClosedOrientedSurfacesThatNoThreadCountChanges)
{
    size_t triangleTotal = 0;
    for (const Sample &sample : samples()) {
        auto volume = volumeOf(sample);
        for (const auto &[lower, upper] : boxesFor(sample)) {
            SCOPED_TRACE(sample.name + ", box " + PrintToString(lower) + "-" + PrintToString(upper));
            std::vector<Triangle> first;
            for (int threads : TestSupport::kThreadCounts) {
                const TestSupport::ScopedThreadCount scoped(threads);
                const auto triangles = buildOver(*volume, lower, upper);
                if (threads == *TestSupport::kThreadCounts.begin())
                    first = triangles;
                EXPECT_TRUE(sameBits(triangles, first)) << threads << " threads";
            }
            triangleTotal += first.size();
            EXPECT_EQ(closureProblem(first), "");
            EXPECT_EQ(degenerateProblem(first), "");
            expectVerticesBetweenFilledAndEmpty(*volume, first, lower, upper);
            // Rounding to grid points is exact only for cell lengths that are powers of two.
            if (std::all_of(sample.cellLength.begin(), sample.cellLength.end(),
                            [](float length) { int e; return std::frexp(length, &e) == 0.5f; }))
                expectOneUnitNormalPerGridPoint(first, sample.cellLength.data());
            EXPECT_TRUE(first.empty() || signedVolume(first) > 0.0) << "normals point out of the filled side";
        }
    }
    EXPECT_GT(triangleTotal, 20000u) << "the samples should exercise many cubes";
}

// A volume filled to its sides: the cells of the first layer on each axis sit at or below the
// lower limit and count as empty, the cubes past the last layer see empty corners beyond it, and
// the surface closes round the filled corners 1 .. size − 1. Its volume, cube by cube: whole
// inner cubes, halves on the sides, an eighth along the edges (a prism of legs ½) and a 48th at
// the corners (a tetrahedron of legs ½).
TEST(MarchingCubes, AVolumeFilledToItsSidesClosesRoundItsCountedCorners)
{
    const float s[3] = {0.5f, 1.5f, 2.0f};
    auto volume = emptyVolume(7, 5, 4, s[0], s[1], s[2]);
    PainterTestSupport::fill(*volume, kMaterialA);

    const double m[3] = {7 - 2, 5 - 2, 4 - 2}; // inner cubes per axis between counted corners
    const double cubes = m[0] * m[1] * m[2] + (m[1] * m[2] + m[0] * m[2] + m[0] * m[1]) +
                         (m[0] + m[1] + m[2]) / 2.0 + 8.0 / 48.0;
    const double expected = cubes * s[0] * s[1] * s[2];

    for (int threads : TestSupport::kThreadCounts) {
        const TestSupport::ScopedThreadCount scoped(threads);
        const auto triangles = buildWhole(*volume);
        EXPECT_EQ(closureProblem(triangles), "") << threads << " threads";
        EXPECT_EQ(degenerateProblem(triangles), "") << threads << " threads";
        EXPECT_NEAR(signedVolume(triangles), expected, 1e-6 * expected) << threads << " threads";
    }
}

bool filled(int config, int corner)
{
    return ((config >> corner) & 1) != 0;
}

TEST(MarchingCubesTables, RowsUseOnlyAndAllTheEdgesBetweenFilledAndEmptyCorners)
{
    const Tables::CaseTables &tables = Tables::caseTables();
    for (int config = 0; config < Tables::kCaseCount; ++config) {
        SCOPED_TRACE("case " + std::to_string(config));
        unsigned expectedMask = 0;
        for (int e = 0; e < Tables::kEdgeCount; ++e)
            if (filled(config, Tables::kEdgeCorners[e][0]) != filled(config, Tables::kEdgeCorners[e][1]))
                expectedMask |= 1u << e;
        EXPECT_EQ(tables.edgeMask[config], expectedMask);

        const auto &row = tables.triangles[config];
        unsigned usedMask = 0;
        int length = 0;
        while (length < Tables::kRowLength && row[length] != Tables::kEndOfRow) {
            ASSERT_GE(row[length], 0);
            ASSERT_LT(row[length], Tables::kEdgeCount);
            usedMask |= 1u << row[length++];
        }
        ASSERT_LT(length, Tables::kRowLength) << "not terminated";
        EXPECT_EQ(length % 3, 0);
        EXPECT_LE(length / 3, Tables::kMaxTrianglesPerCase);
        EXPECT_EQ(usedMask, expectedMask);
    }
}

// Each case as eight filled cells of a small volume: the cube between them has that case, and
// its neighbours see the same corners from outside, so any two cubes that cut a shared face
// differently leave a hole or a doubled edge.
TEST(MarchingCubesTables, EveryCaseClosesIntoAnOutwardSurfaceWithItsNeighbours)
{
    for (int config = 1; config < Tables::kCaseCount; ++config) {
        auto volume = emptyVolume(4, 4, 4);
        for (int corner = 0; corner < Tables::kCornerCount; ++corner) {
            const auto &offset = Tables::kCornerOffsets[corner];
            if (filled(config, corner))
                setMaterial(*volume, 1 + offset[0], 1 + offset[1], 1 + offset[2], kMaterialA);
        }
        const auto triangles = buildWhole(*volume);
        ASSERT_FALSE(triangles.empty()) << "case " << config;
        EXPECT_EQ(closureProblem(triangles), "") << "case " << config;
        EXPECT_GT(signedVolume(triangles), 0.0) << "case " << config;
    }
}

} // namespace
