// The binary STL read back: as many triangles as the surface builders make, grouped by material,
// placed at the volume's origin, and closed where the volume is.

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Export/StlWriter.h"
#include "Model/Geometry/DirectCubicSurface.h"
#include "Model/Geometry/MarchingCubeSurface.h"
#include "Model/Materials/MaterialFactory.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <map>

using Model::Automaton::TotalVolume;
using Model::Export::StlWriter;

namespace {

struct StlTriangleRecord {
    float normal[3];
    float vertices[3][3];
    uint16_t attribute;
};

std::vector<StlTriangleRecord> readStl(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    uint32_t count = 0;
    std::memcpy(&count, bytes.constData() + StlWriter::kHeaderBytes, sizeof count);
    EXPECT_EQ(bytes.size(), StlWriter::kHeaderBytes + 4 + int(count) * StlWriter::kTriangleBytes);
    std::vector<StlTriangleRecord> triangles(count);
    const char *in = bytes.constData() + StlWriter::kHeaderBytes + 4;
    for (StlTriangleRecord &t : triangles) {
        std::memcpy(t.normal, in, 12);
        std::memcpy(t.vertices, in + 12, 36);
        std::memcpy(&t.attribute, in + 48, 2);
        in += StlWriter::kTriangleBytes;
    }
    return triangles;
}

// Every undirected edge, by its vertices rounded to a fine grid, with how many triangles use it;
// and whether each directed edge occurs once (consistent orientation).
bool isWatertight(const std::vector<StlTriangleRecord> &triangles, std::string *why)
{
    using Point = std::array<long, 3>;
    auto key = [](const float *v) {
        return Point{std::lround(v[0] * 1024.0f), std::lround(v[1] * 1024.0f), std::lround(v[2] * 1024.0f)};
    };
    std::map<std::pair<Point, Point>, int> directed;
    for (const StlTriangleRecord &t : triangles)
        for (int i = 0; i < 3; ++i)
            ++directed[{key(t.vertices[i]), key(t.vertices[(i + 1) % 3])}];
    for (const auto &edge : directed) {
        const auto reverse = directed.find({edge.first.second, edge.first.first});
        if (edge.second != 1 || reverse == directed.end() || reverse->second != 1) {
            *why = "an edge is used " + std::to_string(edge.second) + " times one way and "
                   + std::to_string(reverse == directed.end() ? 0 : reverse->second) + " the other";
            return false;
        }
    }
    return true;
}

// A ball of material 1 (about `radius` cells) inside an empty volume, with a slab of material 2
// across its lower half.
std::vector<uint32_t> ballAndSlab(uint32_t n, float radius)
{
    std::vector<uint32_t> materials(size_t(n) * n * n);
    const float c = (n - 1) * 0.5f;
    for (uint32_t x = 0; x < n; ++x)
        for (uint32_t y = 0; y < n; ++y)
            for (uint32_t z = 0; z < n; ++z) {
                const float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c) + (z - c) * (z - c));
                materials[(x * n + y) * n + z] = d <= radius ? 1u : (z >= 2 && z < 4 ? 2u : 0u);
            }
    return materials;
}

} // namespace

TEST(StlWriterTest, CubeFacesGiveTwoTrianglesEachAndBothSurfacesAreClosedAndPlaced)
{
    const uint32_t n = 12;
    TotalVolume volume(n, n, n, 0.5f, 0.5f, 1.0f, Util::Vector3D(100.0, 0.0, -4.0), ballAndSlab(n, 3.5f));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cubes.stl"));
    ASSERT_EQ(StlWriter::write(volume, StlWriter::Surface::Cubes, path), QString());
    const auto triangles = readStl(path);

    Model::Geometry::DirectCubicSurface faces;
    Model::Geometry::MaterialColorMap colors;
    for (const auto &material : Model::Materials::MaterialFactory::instance()->materials())
        colors[material.materialId()] = material.color();
    const uint32_t lower[3] = {0, 0, 0};
    const uint32_t upper[3] = {n, n, n};
    {
        const Model::Automaton::CellReadLock lock(volume);
        faces.build(volume, lock.cells(), lower, upper, colors);
    }
    ASSERT_GT(faces.opaqueFaces().size(), 0u);
    EXPECT_EQ(triangles.size(), 2 * (faces.opaqueFaces().size() + faces.translucentFaces().size()));

    // Grouped by material in ascending id, every vertex inside the placed volume, normals pointing
    // along one axis.
    for (size_t i = 1; i < triangles.size(); ++i)
        ASSERT_LE(triangles[i - 1].attribute, triangles[i].attribute);
    for (const auto &t : triangles) {
        for (const auto &v : t.vertices)
            ASSERT_TRUE(v[0] >= 100.0f && v[0] <= 106.0f && v[2] >= -4.0f && v[2] <= 8.0f) << v[0] << ", " << v[2];
        EXPECT_FLOAT_EQ(std::fabs(t.normal[0]) + std::fabs(t.normal[1]) + std::fabs(t.normal[2]), 1.0f);
    }
    std::string why;
    EXPECT_TRUE(isWatertight(triangles, &why)) << why;

    // The smooth surface holds the marching-cubes triangles, closed as well, with their materials.
    const QString smoothPath = dir.filePath(QStringLiteral("smooth.stl"));
    ASSERT_EQ(StlWriter::write(volume, StlWriter::Surface::Smooth, smoothPath), QString());
    const auto smooth = readStl(smoothPath);
    Model::Geometry::MarchingCubeSurface surface(volume);
    surface.build(lower, upper);
    ASSERT_GT(surface.triangleCount(), 0u);
    EXPECT_EQ(smooth.size(), surface.triangleCount());
    EXPECT_EQ(smooth.front().attribute, 1u);
    EXPECT_EQ(smooth.back().attribute, 2u);
    EXPECT_TRUE(isWatertight(smooth, &why)) << why;
}

TEST(StlWriterTest, AnEmptyVolumeGivesAnEmptyButValidFile)
{
    TotalVolume volume(3, 3, 3, 1.0f, 1.0f, 1.0f, Util::Vector3D(0.0), {});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.stl"));
    ASSERT_EQ(StlWriter::write(volume, StlWriter::Surface::Smooth, path), QString());
    EXPECT_TRUE(readStl(path).empty());
    EXPECT_FALSE(StlWriter::write(volume, StlWriter::Surface::Cubes, dir.filePath(QStringLiteral("no/such/x.stl")))
                     .isEmpty());
}
