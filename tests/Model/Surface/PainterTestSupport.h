#pragma once

// Small volumes, test materials and face lookups shared by the surface tests.

#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Materials/MaterialFactory.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/ThreadCount.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace PainterTestSupport {

using Model::Automaton::TotalVolume;
using Model::Geometry::QuadFace;
using Model::Geometry::Rgba;

constexpr uint32_t kSi = 1;            // opaque in the default catalogue
constexpr uint32_t kOxide = 3;         // opaque in the default catalogue
constexpr uint32_t kGlass = 2901;      // translucent
constexpr uint32_t kResin = 2902;      // translucent
constexpr uint32_t kVapour = 2903;     // invisible
constexpr uint32_t kMagenta = 2904;    // opaque (0.8, 0.2, 0.5, 1)
constexpr uint32_t kFarGlass = 100000; // translucent, far above the usual ids
constexpr uint32_t kUnknown = 777;     // not in the catalogue

// Adds the test materials above for the lifetime of the object, then puts the catalogue back.
struct ScopedTestMaterials : TestSupport::ScopedTestMaterials {
    ScopedTestMaterials()
        : TestSupport::ScopedTestMaterials({{kGlass, {0.2f, 0.6f, 0.9f, 0.5f}},
                                            {kResin, {0.9f, 0.6f, 0.2f, 0.3f}},
                                            {kVapour, {1.0f, 1.0f, 1.0f, 0.0f}},
                                            {kMagenta, {0.8f, 0.2f, 0.5f, 1.0f}},
                                            {kFarGlass, {0.1f, 0.9f, 0.1f, 0.4f}}})
    {
    }
};

using ScopedMaxThreads = TestSupport::ScopedThreadCount;

// Every material of the catalogue with its colour, and 0 with none, as the painter gives them
// to its surface builders.
inline Model::Geometry::MaterialColorMap catalogueColors()
{
    Model::Geometry::MaterialColorMap colors;
    for (const auto &material : Model::Materials::MaterialFactory::instance()->materials())
        colors[material.materialId()] = material.color();
    colors[0] = Rgba{0.0f, 0.0f, 0.0f, 0.0f};
    return colors;
}

inline std::unique_ptr<TotalVolume> emptyVolume(uint32_t nx, uint32_t ny, uint32_t nz, float sx = 1.0f,
                                                float sy = 1.0f, float sz = 1.0f)
{
    return std::make_unique<TotalVolume>(nx, ny, nz, sx, sy, sz, Util::Vector3D(),
                                         std::vector<uint32_t>(size_t(nx) * ny * nz, 0u));
}

inline void setMaterial(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z, uint32_t material)
{
    TestSupport::setMaterialAt(volume, x, y, z, material);
}

inline void setCutCount(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z, uint32_t cuts)
{
    Model::Automaton::CellLock(volume).cells()[volume.cellIndex(x, y, z)].setCutCount(cuts);
}

inline void fill(TotalVolume &volume, uint32_t material)
{
    TestSupport::setMaterials(volume, std::vector<uint32_t>(volume.cellCount(), material));
}

// How many faces of `list` show `material`, facing along face `normalIndex` (any when −1).
inline size_t count(const std::vector<QuadFace> &list, uint32_t material, int normalIndex = -1)
{
    size_t n = 0;
    for (const auto &face : list)
        n += face.materialId == material && (normalIndex < 0 || face.normalIndex == normalIndex) ? 1 : 0;
    return n;
}

// Everything of each face but its serial, as text, so that lists compare with readable failures.
inline std::vector<std::string> describe(const std::vector<QuadFace> &list)
{
    std::vector<std::string> lines;
    for (const auto &face : list) {
        std::ostringstream line;
        line << face << " (" << face.color[0] << ',' << face.color[1] << ',' << face.color[2] << ','
             << face.color[3] << ')';
        lines.push_back(line.str());
    }
    return lines;
}

} // namespace PainterTestSupport
