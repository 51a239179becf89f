#pragma once

// Building a marching-cubes surface over a whole volume, and the checks a closed, outward
// oriented triangle mesh must pass.

#include "Model/Automaton/TotalVolume.h"
#include "Model/Geometry/MarchingCubeSurface.h"

#include <array>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace MarchingCubesMesh {

using Model::Automaton::TotalVolume;
using Model::Geometry::Point3f;
using Model::Geometry::Triangle;

inline std::vector<Triangle> buildOver(TotalVolume &volume, const uint32_t lower[3], const uint32_t upper[3])
{
    Model::Geometry::MarchingCubeSurface surface(volume);
    surface.build(lower, upper);
    return surface.triangles();
}

inline std::vector<Triangle> buildWhole(TotalVolume &volume)
{
    const uint32_t lower[3] = {0, 0, 0};
    const uint32_t upper[3] = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    return buildOver(volume, lower, upper);
}

inline std::string text(const Point3f &p)
{
    std::ostringstream out;
    out << '(' << p[0] << ", " << p[1] << ", " << p[2] << ')';
    return out.str();
}

// Empty when every directed edge is used by exactly one triangle and its reverse by exactly one
// other: the mesh is closed and its triangles agree on their orientation. Otherwise the first
// offending edge.
inline std::string closureProblem(const std::vector<Triangle> &triangles)
{
    std::map<std::pair<Point3f, Point3f>, int> uses;
    for (const Triangle &t : triangles)
        for (int j = 0; j < 3; ++j)
            ++uses[{t.vertices[j].position, t.vertices[(j + 1) % 3].position}];
    for (const auto &[edge, count] : uses) {
        const auto reverse = uses.find({edge.second, edge.first});
        const int reverseCount = reverse == uses.end() ? 0 : reverse->second;
        if (count != 1 || reverseCount != 1)
            return "edge " + text(edge.first) + " -> " + text(edge.second) + " used " + std::to_string(count) +
                   " times, its reverse " + std::to_string(reverseCount) + " times";
    }
    return {};
}

// Empty when every triangle spans an area; otherwise the first one that does not.
inline std::string degenerateProblem(const std::vector<Triangle> &triangles)
{
    for (size_t i = 0; i < triangles.size(); ++i) {
        const auto &a = triangles[i].vertices[0].position;
        const auto &b = triangles[i].vertices[1].position;
        const auto &c = triangles[i].vertices[2].position;
        const double u[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
        const double v[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
        const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        if (n[0] == 0.0 && n[1] == 0.0 && n[2] == 0.0)
            return "triangle " + std::to_string(i) + " " + text(a) + " " + text(b) + " " + text(c) + " has no area";
    }
    return {};
}

// Volume enclosed by a closed mesh; positive when its normals point outward.
inline double signedVolume(const std::vector<Triangle> &triangles)
{
    double sum = 0.0;
    for (const Triangle &t : triangles) {
        const auto &a = t.vertices[0].position;
        const auto &b = t.vertices[1].position;
        const auto &c = t.vertices[2].position;
        sum += double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1]) +
               double(a[1]) * (double(b[2]) * c[0] - double(b[0]) * c[2]) +
               double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0]);
    }
    return sum / 6.0;
}

} // namespace MarchingCubesMesh
