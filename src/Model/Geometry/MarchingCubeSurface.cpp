#include "Model/Geometry/MarchingCubeSurface.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Geometry/MarchingCubeTables.h"

#include <QDebug>
#include <QMutexLocker>
#include <algorithm>
#include <cmath>

// How the build is spread. Each worker polygonises a run of cube planes (fixed x) twice: first
// it only counts its triangles, then it writes them straight into its part of the one list,
// whose size the counts fix. A vertex normal is the mean over every vertex whose position
// rounds to the same grid point, and a grid point at x = i only gathers vertices of cube planes
// i − 1 and i; so each worker sums normals in two rolling planes of grid points, and finishes
// grid plane i as soon as cube plane i is done. For the grid planes on its borders a worker also
// polygonises the neighbouring slab's adjacent cube plane, keeping only the normal sums. The
// sums are exact fixed-point integers, so their order, and hence the thread count, does not
// change a bit of the result.

namespace Model {
namespace Geometry {

namespace {

using Automaton::Cell;
namespace Tables = MarchingCubes;

// Unit normal components are summed as integers in units of 2^-23. Six edges meet at a grid
// point, four cubes share an edge and a cube has at most five triangles, so at most 120 unit
// vectors meet in one sum: 120 · 2^23 < 2^31.
constexpr float kNormalFixedPointScale = float(1 << 23);

// A vertex's grid point is stored as its place in a plane of grid points plus this bit when it
// lies in the plane after its cube's (x + 1).
constexpr uint32_t kNextPlaneBit = 1u << 31;
constexpr uint32_t kPlaneIndexMask = kNextPlaneBit - 1;

// The cubes worth visiting for a cut box and which of their corners take a cell's material.
// A corner c counts when lower < c <= upper and c < size on every axis; cubes run from lower to
// the last counted corner, so that the surface closes over the box's upper side.
struct CubeGrid {
    const Cell *cells = nullptr;
    std::array<uint32_t, 3> size{};
    std::array<float, 3> cellLength{};
    std::array<uint32_t, 3> firstCube{};
    std::array<uint32_t, 3> lastCube{};
    std::array<uint32_t, 3> firstCorner{};
    std::array<uint32_t, 3> lastCorner{};
    bool empty = true;

    // Grid points (and corner values) are kept in planes of fixed x covering
    // [firstCube.y, lastCube.y + 1] × [firstCube.z, lastCube.z + 1], z running fastest.
    size_t planeRows() const { return size_t(lastCube[1] - firstCube[1]) + 2; }
    size_t planeRowLength() const { return size_t(lastCube[2] - firstCube[2]) + 2; }
    size_t planeSize() const { return planeRows() * planeRowLength(); }
    bool cornerCounts(int axis, uint32_t c) const { return c >= firstCorner[axis] && c <= lastCorner[axis]; }
};

CubeGrid makeCubeGrid(const Cell *cells, const Automaton::TotalVolume &volume, const uint32_t lower[3],
                      const uint32_t upper[3])
{
    CubeGrid grid;
    grid.cells = cells;
    grid.size = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    grid.cellLength = {volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()};
    for (int axis = 0; axis < 3; ++axis) {
        // A volume without extent, or a box without a counted corner, has no surface.
        if (!(grid.cellLength[axis] > 0.0f) || grid.size[axis] == 0 ||
            uint64_t(lower[axis]) + 1 > std::min(upper[axis], grid.size[axis] - 1))
            return grid;
        grid.firstCorner[axis] = lower[axis] + 1;
        grid.lastCorner[axis] = std::min(upper[axis], grid.size[axis] - 1);
        grid.firstCube[axis] = lower[axis];
        grid.lastCube[axis] = grid.lastCorner[axis];
    }
    grid.empty = false;
    return grid;
}

// A triangle vertex before it joins a triangle: one per cut edge of a cube.
struct EdgeVertex {
    Point3f position;
    uint32_t materialId;
    uint32_t gridPoint;
};

struct NormalSum {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    bool isZero() const { return x == 0 && y == 0 && z == 0; }
};

// The triangles of one cube plane and, per vertex, the grid point its normal is summed at.
struct CubePlane {
    uint32_t x = 0;
    Triangle *triangles = nullptr;
    const uint32_t *gridPoints = nullptr;
    size_t count = 0;
    // The triangles belong to the worker's output; otherwise they only lend their normals.
    bool kept = false;
};

// The axis along which an edge runs.
constexpr int edgeAxis(int edge)
{
    const auto &a = Tables::kCornerOffsets[Tables::kEdgeCorners[edge][0]];
    const auto &b = Tables::kCornerOffsets[Tables::kEdgeCorners[edge][1]];
    return a[0] != b[0] ? 0 : a[1] != b[1] ? 1 : 2;
}

Point3f faceNormal(const Point3f &p0, const Point3f &p1, const Point3f &p2)
{
    const float ax = p1[0] - p0[0], ay = p1[1] - p0[1], az = p1[2] - p0[2];
    const float bx = p2[0] - p0[0], by = p2[1] - p0[1], bz = p2[2] - p0[2];
    Point3f n{ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0.0f) {
        for (float &c : n)
            c /= length;
    }
    return n;
}

// The four corners of a cube's lower (or upper) square as bits 0..3 of its case: (x, y+1),
// (x+1, y+1), (x+1, y), (x, y).
inline unsigned squareCase(uint32_t xy1, uint32_t x1y1, uint32_t x1y, uint32_t xy)
{
    return unsigned(xy1 != 0) | unsigned(x1y1 != 0) << 1 | unsigned(x1y != 0) << 2 | unsigned(xy != 0) << 3;
}

// Polygonises the cube planes [xBegin, xEnd) of a grid into triangles with smoothed normals, in
// two passes: the first counts the triangles, so that the caller can place every slab's
// triangles in one list of the right size; the second writes them there.
class SlabPolygonizer {
public:
    SlabPolygonizer(const CubeGrid &grid, uint32_t xBegin, uint32_t xEnd);
    size_t countTriangles();
    // Writes countTriangles() triangles from `destination` on.
    void write(Triangle *destination);

private:
    template <typename Visit>
    void forEachSurfaceCube(uint32_t x, Visit &&visit);
    size_t countPlane(uint32_t x);
    CubePlane polygonizePlane(uint32_t x, Triangle *triangles, uint32_t *gridPoints, bool kept);
    CubePlane borrowPlane(uint32_t x);
    void emitCube(uint32_t x, uint32_t y, uint32_t z, unsigned cubeCase, const std::array<uint32_t, 8> &values,
                  Triangle *&triangles, uint32_t *&gridPoints);
    EdgeVertex edgeVertex(uint32_t x, uint32_t y, uint32_t z, int edge, const std::array<uint32_t, 8> &values) const;
    void loadCornerPlanes(uint32_t x);
    void loadCornerPlane(uint32_t cx, std::vector<uint32_t> &plane) const;
    void finishGridPlane(uint32_t ix, const CubePlane &before, const CubePlane &at);
    template <typename Visit>
    static void forVerticesIn(const CubePlane &plane, uint32_t ix, Visit &&visit);

    const CubeGrid &grid;
    const Tables::CaseTables &tables;
    uint32_t xBegin;
    uint32_t xEnd;
    size_t triangleTotal = 0;
    // Corner values of planes x and x + 1 of the cube plane being visited.
    std::vector<uint32_t> lowCorners;
    std::vector<uint32_t> highCorners;
    uint32_t lowCornerX = 0;
    bool cornersLoaded = false;
    // Normal sums of grid planes of even and odd x.
    std::array<std::vector<NormalSum>, 2> normalSums;
    std::vector<uint32_t> outputGridPoints;
    // A neighbouring slab's cube plane, polygonised for its normals only.
    std::vector<Triangle> borrowed;
    std::vector<uint32_t> borrowedGridPoints;
};

SlabPolygonizer::SlabPolygonizer(const CubeGrid &grid, uint32_t xBegin, uint32_t xEnd)
    : grid(grid), tables(Tables::caseTables()), xBegin(xBegin), xEnd(xEnd)
{
}

size_t SlabPolygonizer::countTriangles()
{
    triangleTotal = 0;
    for (uint32_t x = xBegin; x < xEnd; ++x)
        triangleTotal += countPlane(x);
    return triangleTotal;
}

void SlabPolygonizer::write(Triangle *destination)
{
    if (xBegin >= xEnd)
        return;
    normalSums[0].assign(grid.planeSize(), NormalSum{});
    normalSums[1].assign(grid.planeSize(), NormalSum{});
    outputGridPoints.resize(3 * triangleTotal);

    // Grid plane xBegin also gathers the previous slab's last cube plane.
    CubePlane before;
    if (xBegin > grid.firstCube[0]) {
        before = borrowPlane(xBegin - 1);
        forVerticesIn(before, xBegin - 1, [this](Triangle &, int, uint32_t point) {
            normalSums[(xBegin - 1) & 1][point] = NormalSum{};
        });
    }
    size_t written = 0;
    for (uint32_t x = xBegin; x < xEnd; ++x) {
        const CubePlane at = polygonizePlane(x, destination + written, outputGridPoints.data() + 3 * written, true);
        written += at.count;
        finishGridPlane(x, before, at);
        before = at;
    }
    Q_ASSERT(written == triangleTotal);
    // Grid plane xEnd also gathers the next slab's first cube plane.
    const CubePlane after = xEnd <= grid.lastCube[0] ? borrowPlane(xEnd) : CubePlane{};
    finishGridPlane(xEnd, before, after);
}

CubePlane SlabPolygonizer::borrowPlane(uint32_t x)
{
    const size_t count = countPlane(x);
    borrowed.resize(count);
    borrowedGridPoints.resize(3 * count);
    return polygonizePlane(x, borrowed.data(), borrowedGridPoints.data(), false);
}

void SlabPolygonizer::loadCornerPlanes(uint32_t x)
{
    if (lowCorners.empty()) {
        lowCorners.resize(grid.planeSize());
        highCorners.resize(grid.planeSize());
    }
    if (cornersLoaded && lowCornerX == x)
        return;
    if (cornersLoaded && lowCornerX + 1 == x)
        lowCorners.swap(highCorners);
    else
        loadCornerPlane(x, lowCorners);
    loadCornerPlane(x + 1, highCorners);
    lowCornerX = x;
    cornersLoaded = true;
}

void SlabPolygonizer::loadCornerPlane(uint32_t cx, std::vector<uint32_t> &plane) const
{
    std::fill(plane.begin(), plane.end(), 0u);
    if (!grid.cornerCounts(0, cx))
        return;
    // The bounds live in locals: the stores into the plane could alias the grid's members, and
    // the compiler would otherwise reload them after every corner.
    const size_t rowLength = grid.planeRowLength();
    const Cell *const cells = grid.cells;
    const size_t sizeY = grid.size[1];
    const size_t sizeZ = grid.size[2];
    const uint32_t y0 = grid.firstCorner[1];
    const uint32_t y1 = grid.lastCorner[1];
    const uint32_t z0 = grid.firstCorner[2];
    const uint32_t z1 = grid.lastCorner[2];
    const uint32_t rowStartY = grid.firstCube[1];
    const uint32_t rowStartZ = grid.firstCube[2];
    for (uint32_t cy = y0; cy <= y1; ++cy) {
        const Cell *column = cells + (size_t(cx) * sizeY + cy) * sizeZ;
        uint32_t *row = plane.data() + size_t(cy - rowStartY) * rowLength;
        for (uint32_t cz = z0; cz <= z1; ++cz) {
            const Cell &cell = column[cz];
            Automaton::prefetchAheadOf(&cell);
            row[cz - rowStartZ] = cell.uncutMaterial();
        }
    }
}

// Calls visit(y, z, case, corner values) for every cube of plane x, in y then z order, that has
// both filled and empty corners.
template <typename Visit>
void SlabPolygonizer::forEachSurfaceCube(uint32_t x, Visit &&visit)
{
    constexpr unsigned kAllFilled = Tables::kCaseCount - 1;
    loadCornerPlanes(x);
    const size_t rowLength = grid.planeRowLength();
    for (uint32_t y = grid.firstCube[1]; y <= grid.lastCube[1]; ++y) {
        const size_t row = size_t(y - grid.firstCube[1]) * rowLength;
        const uint32_t *a0 = lowCorners.data() + row;  // corners (x, y, ·)
        const uint32_t *a1 = a0 + rowLength;           // (x, y + 1, ·)
        const uint32_t *b0 = highCorners.data() + row; // (x + 1, y, ·)
        const uint32_t *b1 = b0 + rowLength;           // (x + 1, y + 1, ·)
        unsigned lower = squareCase(a1[0], b1[0], b0[0], a0[0]);
        for (size_t k = 0; k + 1 < rowLength; ++k) {
            const unsigned upper = squareCase(a1[k + 1], b1[k + 1], b0[k + 1], a0[k + 1]);
            const unsigned cubeCase = lower | upper << 4;
            lower = upper;
            if (cubeCase == 0 || cubeCase == kAllFilled)
                continue;
            const std::array<uint32_t, 8> values{a1[k], b1[k], b0[k], a0[k],
                                                 a1[k + 1], b1[k + 1], b0[k + 1], a0[k + 1]};
            visit(y, grid.firstCube[2] + uint32_t(k), cubeCase, values);
        }
    }
}

size_t SlabPolygonizer::countPlane(uint32_t x)
{
    size_t count = 0;
    forEachSurfaceCube(x, [&](uint32_t, uint32_t, unsigned cubeCase, const std::array<uint32_t, 8> &) {
        count += tables.triangleCount[cubeCase];
    });
    return count;
}

CubePlane SlabPolygonizer::polygonizePlane(uint32_t x, Triangle *triangles, uint32_t *gridPoints, bool kept)
{
    Triangle *next = triangles;
    uint32_t *nextPoints = gridPoints;
    forEachSurfaceCube(x, [&](uint32_t y, uint32_t z, unsigned cubeCase, const std::array<uint32_t, 8> &values) {
        emitCube(x, y, z, cubeCase, values, next, nextPoints);
    });
    return CubePlane{x, triangles, gridPoints, size_t(next - triangles), kept};
}

EdgeVertex SlabPolygonizer::edgeVertex(uint32_t x, uint32_t y, uint32_t z, int edge,
                                       const std::array<uint32_t, 8> &values) const
{
    const uint32_t cube[3] = {x, y, z};
    const int first = Tables::kEdgeCorners[edge][0];
    const int second = Tables::kEdgeCorners[edge][1];
    const int along = edgeAxis(edge);
    EdgeVertex v;
    uint32_t gridPoint[3];
    for (int axis = 0; axis < 3; ++axis) {
        const float a = float(cube[axis] + Tables::kCornerOffsets[first][axis]) * grid.cellLength[axis];
        const float b = float(cube[axis] + Tables::kCornerOffsets[second][axis]) * grid.cellLength[axis];
        v.position[axis] = (a + b) * 0.5f;
        // Across the edge the position is a corner's, which rounds back to that corner.
        gridPoint[axis] = cube[axis] + Tables::kCornerOffsets[first][axis];
    }
    // Along the edge the midpoint lies halfway between two grid points; the rounding picks one.
    gridPoint[along] = uint32_t(std::floor(v.position[along] / grid.cellLength[along] + 0.5f));
    Q_ASSERT(gridPoint[along] == cube[along] || gridPoint[along] == cube[along] + 1);
    v.materialId = values[first] != 0 ? values[first] : values[second];
    v.gridPoint = uint32_t(size_t(gridPoint[1] - grid.firstCube[1]) * grid.planeRowLength() +
                           (gridPoint[2] - grid.firstCube[2]));
    if (gridPoint[0] != x)
        v.gridPoint |= kNextPlaneBit;
    return v;
}

void SlabPolygonizer::emitCube(uint32_t x, uint32_t y, uint32_t z, unsigned cubeCase,
                               const std::array<uint32_t, 8> &values, Triangle *&triangles, uint32_t *&gridPoints)
{
    std::array<EdgeVertex, Tables::kEdgeCount> vertices;
    const unsigned cutEdges = tables.edgeMask[cubeCase];
    for (int e = 0; e < Tables::kEdgeCount; ++e) {
        if (cutEdges & (1u << e))
            vertices[e] = edgeVertex(x, y, z, e, values);
    }
    const auto &row = tables.triangles[cubeCase];
    for (int i = 0; row[i] != Tables::kEndOfRow; i += 3) {
        const EdgeVertex *corners[3] = {&vertices[row[i]], &vertices[row[i + 1]], &vertices[row[i + 2]]};
        const Point3f normal = faceNormal(corners[0]->position, corners[1]->position, corners[2]->position);
        const NormalSum fixedNormal{int32_t(std::lrint(normal[0] * kNormalFixedPointScale)),
                                    int32_t(std::lrint(normal[1] * kNormalFixedPointScale)),
                                    int32_t(std::lrint(normal[2] * kNormalFixedPointScale))};
        Triangle &triangle = *triangles++;
        for (int j = 0; j < 3; ++j) {
            triangle.vertices[j].position = corners[j]->position;
            triangle.vertices[j].normal = normal;
            triangle.vertices[j].materialId = corners[j]->materialId;
            const uint32_t point = corners[j]->gridPoint;
            *gridPoints++ = point;
            NormalSum &sum = normalSums[(x + (point >> 31)) & 1][point & kPlaneIndexMask];
            sum.x += fixedNormal.x;
            sum.y += fixedNormal.y;
            sum.z += fixedNormal.z;
        }
    }
}

// Calls visit(triangle, vertex, place in the grid plane) for the vertices of `plane` whose grid
// point lies in grid plane ix.
template <typename Visit>
void SlabPolygonizer::forVerticesIn(const CubePlane &plane, uint32_t ix, Visit &&visit)
{
    if (ix != plane.x && ix != plane.x + 1)
        return;
    const uint32_t wanted = ix == plane.x ? 0u : kNextPlaneBit;
    for (size_t t = 0; t < plane.count; ++t) {
        for (int j = 0; j < 3; ++j) {
            const uint32_t point = plane.gridPoints[3 * t + j];
            if ((point & kNextPlaneBit) == wanted)
                visit(plane.triangles[t], j, point & kPlaneIndexMask);
        }
    }
}

// All vertices of grid plane ix come from cube planes ix − 1 and ix: once both are in, their
// kept vertices take the unit mean normal of their grid point, and the plane's sums are cleared
// for reuse by grid plane ix + 2. A grid point whose normals cancel out leaves each vertex its
// own face normal.
void SlabPolygonizer::finishGridPlane(uint32_t ix, const CubePlane &before, const CubePlane &at)
{
    std::vector<NormalSum> &sums = normalSums[ix & 1];
    auto smooth = [&sums](Triangle &triangle, int vertex, uint32_t point) {
        const NormalSum &sum = sums[point];
        if (sum.isZero())
            return;
        const double x = sum.x, y = sum.y, z = sum.z;
        const double length = std::sqrt(x * x + y * y + z * z);
        triangle.vertices[vertex].normal = {float(x / length), float(y / length), float(z / length)};
    };
    auto clear = [&sums](Triangle &, int, uint32_t point) { sums[point] = NormalSum{}; };
    for (const CubePlane *plane : {&before, &at}) {
        if (plane->kept)
            forVerticesIn(*plane, ix, smooth);
    }
    forVerticesIn(before, ix, clear);
    forVerticesIn(at, ix, clear);
}

// A plane of grid points must be addressable below kNextPlaneBit.
bool planeFitsIndex(const CubeGrid &grid)
{
    return grid.planeSize() <= kPlaneIndexMask;
}

} // namespace

MarchingCubeSurface::MarchingCubeSurface(Automaton::TotalVolume &volume)
    : volume(volume), sizeX(volume.sizeX()), sizeY(volume.sizeY()), sizeZ(volume.sizeZ())
{
}

std::vector<Util::Slab> MarchingCubeSurface::workerSlabs(uint32_t lowerX, uint32_t upperX, uint32_t sizeX,
                                                         uint32_t threads)
{
    threads = std::max<uint32_t>(threads, 1);
    const uint32_t width = upperX > lowerX ? upperX - lowerX : 0;
    if (width / threads == 0)
        return {Util::Slab{0, sizeX}};
    std::vector<Util::Slab> slabs = Util::splitLastSlabTakesRest(lowerX, upperX, threads);
    slabs.back().end = sizeX;
    return slabs;
}

void MarchingCubeSurface::build(const uint32_t lower[3], const uint32_t upper[3])
{
    const Automaton::CellReadLock locked(volume);
    build(locked.cells(), lower, upper);
}

void MarchingCubeSurface::build(const Automaton::Cell *cells, const uint32_t lower[3], const uint32_t upper[3])
{
    QMutexLocker surfaceLock(&surfaceMutex);
    ++builds;
    const CubeGrid grid = makeCubeGrid(cells, volume, lower, upper);
    if (grid.empty || !planeFitsIndex(grid)) {
        if (!grid.empty)
            qWarning() << "MarchingCubeSurface.cpp build: a y-z plane of" << grid.planeSize()
                       << "grid points is too large for marching cubes";
        triangleStore.clear();
        return;
    }

    const std::vector<Util::Slab> slabs = workerSlabs(lower[0], upper[0], sizeX, Util::slabThreadCount());
    // Cubes outside [firstCube, lastCube] have no counted corner and yield nothing.
    const uint32_t scanBegin = grid.firstCube[0];
    const uint32_t scanEnd = grid.lastCube[0] + 1;
    std::vector<SlabPolygonizer> workers;
    workers.reserve(slabs.size());
    for (const Util::Slab &slab : slabs)
        workers.emplace_back(grid, std::max(slab.begin, scanBegin), std::min(slab.end, scanEnd));

    std::vector<size_t> offsets(slabs.size() + 1, 0);
    Util::runSlabs(slabs, [&](size_t i, Util::Slab) { offsets[i + 1] = workers[i].countTriangles(); });
    for (size_t i = 0; i < slabs.size(); ++i)
        offsets[i + 1] += offsets[i];
    resizeTriangleStore(offsets.back());
    Util::runSlabs(slabs, [&](size_t i, Util::Slab) { workers[i].write(triangleStore.data() + offsets[i]); });
}

// Every triangle is overwritten by the build, so a list that already has the room is only cut
// to size; a larger one is allocated afresh rather than grown by copying, and one far too large
// gives its memory back.
void MarchingCubeSurface::resizeTriangleStore(size_t count)
{
    constexpr size_t kMaxSpareFactor = 4;
    if (count > triangleStore.capacity() || count < triangleStore.capacity() / kMaxSpareFactor)
        std::vector<Triangle>().swap(triangleStore);
    triangleStore.resize(count);
}

std::vector<Triangle> MarchingCubeSurface::triangles() const
{
    QMutexLocker lock(&surfaceMutex);
    return triangleStore;
}

size_t MarchingCubeSurface::triangleCount() const
{
    QMutexLocker lock(&surfaceMutex);
    return triangleStore.size();
}

// Entries are overwritten, never dropped: a catalogue that lost a material (replaced by a file
// or by the defaults) leaves its triangles in the colour they had.
void MarchingCubeSurface::rebuildColorMap(const MaterialColorMap &catalogueColors, bool selected)
{
    for (const auto &entry : catalogueColors)
        colorMap[entry.first] = entry.second;
    highlighted = selected;
}

Rgba MarchingCubeSurface::color(uint32_t materialId) const
{
    const auto found = colorMap.find(materialId);
    const Rgba &plain = found == colorMap.end() ? kMissingMaterialColor : found->second;
    return highlighted ? highlightColor(plain) : plain;
}

} // namespace Geometry
} // namespace Model
