#pragma once

// The marching cubes case tables (Lorensen & Cline, 1987) for this program's cube numbering,
// derived from the cube's geometry at compile time instead of typed in.
//
// Corners, as offsets in cells from the cube's (x, y, z): c0 (0,1,0), c1 (1,1,0), c2 (1,0,0),
// c3 (0,0,0), and c4..c7 the same one cell higher in z. Edges 0-3 join corners 0-1, 1-2, 2-3,
// 3-0; edges 4-7 join 4-5, 5-6, 6-7, 7-4; edges 8-11 join 0-4, 1-5, 2-6, 3-7.
//
// A case is the set of filled corners, bit i for corner i. Its row lists up to five triangles as
// edge triples, each wound so that (P1 − P0) × (P2 − P0) points from the filled side toward the
// empty side. On a face with two diagonally opposite filled corners the surface keeps the
// filled corners apart; every cube applies this one rule, so neighbouring cubes cut their shared
// face alike and the triangles of a whole volume close up into one oriented surface.

#include <array>
#include <cstdint>

namespace Model {
namespace Geometry {
namespace MarchingCubes {

constexpr int kCornerCount = 8;
constexpr int kEdgeCount = 12;
constexpr int kCaseCount = 256;
constexpr int kMaxTrianglesPerCase = 5;
constexpr int kRowLength = 3 * kMaxTrianglesPerCase + 1;
constexpr int8_t kEndOfRow = -1;

// Offset of each corner from the cube's own cell, in cells (x, y, z).
constexpr std::array<std::array<uint32_t, 3>, kCornerCount> kCornerOffsets = {{
    {{0, 1, 0}}, {{1, 1, 0}}, {{1, 0, 0}}, {{0, 0, 0}},
    {{0, 1, 1}}, {{1, 1, 1}}, {{1, 0, 1}}, {{0, 0, 1}},
}};

// The corners each edge joins; the first one gives the edge's vertex its material when filled.
constexpr std::array<std::array<int, 2>, kEdgeCount> kEdgeCorners = {{
    {{0, 1}}, {{1, 2}}, {{2, 3}}, {{3, 0}},
    {{4, 5}}, {{5, 6}}, {{6, 7}}, {{7, 4}},
    {{0, 4}}, {{1, 5}}, {{2, 6}}, {{3, 7}},
}};

struct CaseTables {
    // Bit e is set when edge e joins a filled and an empty corner.
    std::array<uint16_t, kCaseCount> edgeMask{};
    // Edge triples, kEndOfRow after the last one.
    std::array<std::array<int8_t, kRowLength>, kCaseCount> triangles{};
    // The number of triples in each row.
    std::array<uint8_t, kCaseCount> triangleCount{};
};

// The tables, built once at compile time.
const CaseTables &caseTables();

} // namespace MarchingCubes
} // namespace Geometry
} // namespace Model
