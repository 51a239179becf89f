#include "Model/Geometry/MarchingCubeTables.h"

// How a row is derived. On each face of the cube the surface crosses the face along short
// segments between the midpoints of the face's cut edges: none when the face's four corners
// agree, one segment cutting off the odd corner (one or three filled), one segment across the
// face (two neighbouring corners filled), and two segments, one around each filled corner, when
// the filled corners are diagonally opposite. Every segment is oriented so that, seen from
// outside the cube, the filled corner lies on its right; then each cut edge starts exactly one
// segment and ends exactly one, and following the segments walks closed loops. Each loop is
// triangulated as a fan, and the fan's apex is chosen so that no inner diagonal lies in a face
// of the cube (the neighbouring cube might draw the same diagonal, and the edge would then be
// shared by four triangles).

namespace Model {
namespace Geometry {
namespace MarchingCubes {
namespace {

// Points in doubled cell units, so that edge midpoints have integer coordinates.
struct Point {
    int x = 0;
    int y = 0;
    int z = 0;
};

constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr int dot(Point a, Point b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Point cross(Point a, Point b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

constexpr Point cornerPoint(int corner)
{
    return {2 * int(kCornerOffsets[corner][0]), 2 * int(kCornerOffsets[corner][1]),
            2 * int(kCornerOffsets[corner][2])};
}

constexpr Point edgeMidpoint(int edge)
{
    const Point sum = cornerPoint(kEdgeCorners[edge][0]) + cornerPoint(kEdgeCorners[edge][1]);
    return {sum.x / 2, sum.y / 2, sum.z / 2};
}

// A face of the cube: its corners in order around it and its outward normal.
struct Face {
    std::array<int, 4> corners;
    Point outward;
};

constexpr std::array<Face, 6> kFaces = {{
    {{{0, 1, 2, 3}}, {0, 0, -1}},
    {{{4, 5, 6, 7}}, {0, 0, 1}},
    {{{2, 3, 7, 6}}, {0, -1, 0}},
    {{{0, 1, 5, 4}}, {0, 1, 0}},
    {{{3, 0, 4, 7}}, {-1, 0, 0}},
    {{{1, 2, 6, 5}}, {1, 0, 0}},
}};

constexpr bool isFilled(int config, int corner) { return ((config >> corner) & 1) != 0; }

constexpr int edgeJoining(int a, int b)
{
    for (int e = 0; e < kEdgeCount; ++e) {
        if ((kEdgeCorners[e][0] == a && kEdgeCorners[e][1] == b) ||
            (kEdgeCorners[e][0] == b && kEdgeCorners[e][1] == a))
            return e;
    }
    return -1;
}

constexpr int filledCornerOf(int config, int edge)
{
    return isFilled(config, kEdgeCorners[edge][0]) ? kEdgeCorners[edge][0] : kEdgeCorners[edge][1];
}

constexpr bool shareAFace(int edgeA, int edgeB)
{
    for (const Face &face : kFaces) {
        int found = 0;
        for (int i = 0; i < 4; ++i) {
            const int e = edgeJoining(face.corners[i], face.corners[(i + 1) % 4]);
            found += (e == edgeA || e == edgeB) ? 1 : 0;
        }
        if (found == 2)
            return true;
    }
    return false;
}

// next[e]: the cut edge that follows cut edge e on its loop; −1 for edges the surface misses.
// `consistent` turns false if some edge would start or end two segments.
struct Loops {
    std::array<int, kEdgeCount> next{};
    std::array<int, kEdgeCount> previous{};
    bool consistent = true;
};

// Joins the midpoints of edges a and b on `face`, keeping the filled corner on the right as seen
// from outside the cube: the loops then run counter-clockwise seen from the empty side.
constexpr void addSegment(Loops &loops, int config, const Face &face, int a, int b)
{
    const Point pa = edgeMidpoint(a);
    const Point along = edgeMidpoint(b) - pa;
    const Point toFilled = cornerPoint(filledCornerOf(config, a)) - pa;
    // Seen from outside, face.outward × along points to the left of the segment.
    const bool filledOnRight = dot(cross(face.outward, along), toFilled) < 0;
    const int from = filledOnRight ? a : b;
    const int to = filledOnRight ? b : a;
    if (loops.next[from] != -1 || loops.previous[to] != -1)
        loops.consistent = false;
    loops.next[from] = to;
    loops.previous[to] = from;
}

constexpr void addFaceSegments(Loops &loops, int config, const Face &face)
{
    std::array<int, 4> edges{};
    std::array<int, 4> cut{};
    int cutCount = 0;
    for (int i = 0; i < 4; ++i) {
        edges[i] = edgeJoining(face.corners[i], face.corners[(i + 1) % 4]);
        if (isFilled(config, face.corners[i]) != isFilled(config, face.corners[(i + 1) % 4]))
            cut[cutCount++] = i;
    }
    if (cutCount == 2) {
        addSegment(loops, config, face, edges[cut[0]], edges[cut[1]]);
    } else if (cutCount == 4) {
        // Diagonally opposite filled corners: each is cut off on its own.
        for (int i = 0; i < 4; ++i) {
            if (isFilled(config, face.corners[i]))
                addSegment(loops, config, face, edges[(i + 3) % 4], edges[i]);
        }
    }
}

constexpr Loops loopsOf(int config)
{
    Loops loops;
    for (int e = 0; e < kEdgeCount; ++e) {
        loops.next[e] = -1;
        loops.previous[e] = -1;
    }
    for (const Face &face : kFaces)
        addFaceSegments(loops, config, face);
    for (int e = 0; e < kEdgeCount; ++e) {
        if ((loops.next[e] == -1) != (loops.previous[e] == -1))
            loops.consistent = false;
    }
    return loops;
}

// The first position on the loop from which a fan draws no inner diagonal inside a cube face;
// −1 when there is none.
constexpr int fanApex(const std::array<int, kEdgeCount> &loop, int length)
{
    for (int apex = 0; apex < length; ++apex) {
        bool clear = true;
        for (int k = 2; k + 1 < length; ++k)
            clear = clear && !shareAFace(loop[apex], loop[(apex + k) % length]);
        if (clear)
            return apex;
    }
    return -1;
}

struct Generated {
    CaseTables tables;
    bool consistent = true;
    bool fitsRows = true;
    bool fansStayOffFaces = true;
};

// Writes the fan triangulation of every loop of `config` into its row.
constexpr void triangulate(Generated &out, int config, const Loops &loops)
{
    std::array<int8_t, kRowLength> &row = out.tables.triangles[config];
    for (int8_t &entry : row)
        entry = kEndOfRow;
    std::array<bool, kEdgeCount> visited{};
    int written = 0;
    for (int start = 0; start < kEdgeCount; ++start) {
        if (loops.next[start] == -1 || visited[start])
            continue;
        std::array<int, kEdgeCount> loop{};
        int length = 0;
        for (int e = start; !visited[e]; e = loops.next[e]) {
            visited[e] = true;
            loop[length++] = e;
        }
        const int apex = fanApex(loop, length);
        if (apex < 0) {
            out.fansStayOffFaces = false;
            return;
        }
        for (int k = 1; k + 1 < length; ++k) {
            if (written + 3 >= kRowLength) {
                out.fitsRows = false;
                return;
            }
            row[written++] = int8_t(loop[apex]);
            row[written++] = int8_t(loop[(apex + k) % length]);
            row[written++] = int8_t(loop[(apex + k + 1) % length]);
        }
    }
    out.tables.triangleCount[config] = uint8_t(written / 3);
}

constexpr Generated generate()
{
    Generated out;
    for (int config = 0; config < kCaseCount; ++config) {
        uint16_t mask = 0;
        for (int e = 0; e < kEdgeCount; ++e) {
            if (isFilled(config, kEdgeCorners[e][0]) != isFilled(config, kEdgeCorners[e][1]))
                mask = uint16_t(mask | (1u << e));
        }
        out.tables.edgeMask[config] = mask;
        const Loops loops = loopsOf(config);
        out.consistent = out.consistent && loops.consistent;
        triangulate(out, config, loops);
    }
    return out;
}

constexpr Generated kGenerated = generate();
static_assert(kGenerated.consistent, "every cut edge must start and end exactly one segment");
static_assert(kGenerated.fitsRows, "every case must fit in five triangles");
static_assert(kGenerated.fansStayOffFaces, "no fan may draw a diagonal inside a cube face");

} // namespace

const CaseTables &caseTables()
{
    return kGenerated.tables;
}

} // namespace MarchingCubes
} // namespace Geometry
} // namespace Model
