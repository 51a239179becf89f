#pragma once

// The six faces of a unit cell. Face k has the outward normal kFaceNormals[k] and the corners
// kFaceCorners[k][0..3] (offsets in cells from the cell's lower corner, counter-clockwise seen
// from outside); kFaceNeighbour[k] is the offset of the cell across the face.

namespace Model {
namespace Geometry {

constexpr int kFaceCount = 6;

constexpr float kFaceNormals[kFaceCount][3] = {
    {0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0},
};

constexpr int kFaceCorners[kFaceCount][4][3] = {
    {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}},
    {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
    {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}},
    {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}},
    {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}},
    {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}},
};

constexpr int kFaceNeighbour[kFaceCount][3] = {
    {0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0},
};

} // namespace Geometry
} // namespace Model
