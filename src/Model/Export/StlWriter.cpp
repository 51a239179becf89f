#include "StlWriter.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Geometry/DirectCubicSurface.h"
#include "Model/Geometry/MarchingCubeSurface.h"
#include "Model/Materials/MaterialFactory.h"

#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>

namespace Model {
namespace Export {

namespace {

using Geometry::Point3f;
using Solids = std::map<uint32_t, std::vector<StlWriter::StlTriangle>>;

const char kHeaderText[] = "Voxfab binary STL: one solid per material, attribute = material id";

Geometry::MaterialColorMap catalogueColors()
{
    Geometry::MaterialColorMap colors;
    for (const Materials::Material &material : Materials::MaterialFactory::instance()->materials())
        colors[material.materialId()] = material.color();
    colors[0] = Geometry::Rgba{0.0f, 0.0f, 0.0f, 0.0f};
    return colors;
}

Point3f placed(const Point3f &p, const Util::Vector3D &origin)
{
    return {float(p[0] + origin.x), float(p[1] + origin.y), float(p[2] + origin.z)};
}

// Face corners run counter-clockwise seen from outside, so the fan from the first corner keeps
// that orientation.
void addCubeFaces(const std::vector<Geometry::QuadFace> &faces, const Util::Vector3D &origin, Solids &solids)
{
    for (const Geometry::QuadFace &face : faces) {
        auto &triangles = solids[face.materialId];
        const auto &v = face.vertices;
        triangles.push_back({placed(v[0], origin), placed(v[1], origin), placed(v[2], origin)});
        triangles.push_back({placed(v[0], origin), placed(v[2], origin), placed(v[3], origin)});
    }
}

// A marching-cubes triangle's vertices may show different materials; the triangle goes to the
// material two of them share, else to its first vertex's.
uint32_t triangleMaterial(const Geometry::Triangle &triangle)
{
    const auto &v = triangle.vertices;
    return v[1].materialId == v[2].materialId ? v[1].materialId : v[0].materialId;
}

Point3f unitNormal(const StlWriter::StlTriangle &t)
{
    const float a[3] = {t[1][0] - t[0][0], t[1][1] - t[0][1], t[1][2] - t[0][2]};
    const float b[3] = {t[2][0] - t[0][0], t[2][1] - t[0][1], t[2][2] - t[0][2]};
    Point3f n = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0.0f)
        for (float &c : n)
            c /= length;
    return n;
}

char *putFloats(char *out, const Point3f &values)
{
    for (const float value : values) {
        quint32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        qToLittleEndian(bits, out);
        out += sizeof bits;
    }
    return out;
}

} // namespace

std::vector<StlWriter::Solid> StlWriter::solids(Automaton::TotalVolume &volume, Surface surface)
{
    const Automaton::TotalVolumePainter::CutBox box = volume.painter().cutLimits();
    const Util::Vector3D origin = volume.origin();
    Solids byMaterial;
    if (surface == Surface::Cubes) {
        Geometry::DirectCubicSurface cubes;
        {
            const Automaton::CellReadLock lock(volume);
            cubes.build(volume, lock.cells(), box.lower.data(), box.upper.data(), catalogueColors());
        }
        addCubeFaces(cubes.opaqueFaces(), origin, byMaterial);
        addCubeFaces(cubes.translucentFaces(), origin, byMaterial);
    } else {
        Geometry::MarchingCubeSurface smooth(volume);
        smooth.build(box.lower.data(), box.upper.data());
        for (const Geometry::Triangle &triangle : smooth.triangles()) {
            const auto &v = triangle.vertices;
            byMaterial[triangleMaterial(triangle)].push_back(
                {placed(v[0].position, origin), placed(v[1].position, origin), placed(v[2].position, origin)});
        }
    }
    std::vector<Solid> out;
    for (auto &entry : byMaterial)
        out.push_back({entry.first, std::move(entry.second)});
    return out;
}

QString StlWriter::write(Automaton::TotalVolume &volume, Surface surface, const QString &fileName)
{
    return write(solids(volume, surface), fileName);
}

QString StlWriter::write(const std::vector<Solid> &solids, const QString &fileName)
{
    size_t count = 0;
    for (const Solid &solid : solids)
        count += solid.triangles.size();
    const qint64 size = kHeaderBytes + qint64(sizeof(quint32)) + qint64(count) * kTriangleBytes;
    if (size > std::numeric_limits<int>::max())
        return QStringLiteral("Cannot write %1: the surface has too many triangles (%2).").arg(fileName).arg(count);

    std::vector<char> bytes(size_t(size), '\0');
    std::memcpy(bytes.data(), kHeaderText, sizeof kHeaderText - 1);
    char *out = bytes.data() + kHeaderBytes;
    qToLittleEndian(quint32(count), out);
    out += sizeof(quint32);
    for (const Solid &solid : solids) {
        const quint16 attribute = quint16(solid.materialId & 0x7fffu);
        for (const StlTriangle &triangle : solid.triangles) {
            out = putFloats(out, unitNormal(triangle));
            for (const Point3f &vertex : triangle)
                out = putFloats(out, vertex);
            qToLittleEndian(attribute, out);
            out += sizeof attribute;
        }
    }

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create %1: %2.").arg(fileName, file.errorString());
    if (file.write(bytes.data(), size) != size || !file.commit())
        return QStringLiteral("Cannot write %1: %2.").arg(fileName, file.errorString());
    return QString();
}

} // namespace Export
} // namespace Model
