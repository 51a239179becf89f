#include "AtomisticView.h"

#include "Model/SiLattice/SiLattice.h"
#include "Model/SiLattice/SiLatticeGeometry.h"
#include "Model/SiLattice/SiNeighbourCounts.h"

#include <GL/gl.h>
#include <cmath>

namespace Model {
namespace Rendering {

namespace {

using Point = std::array<double, 3>;

constexpr double kInsideTolerance = 1e-6;
// The twelve corners of the icosahedron lie at (0, ±a, ±b) and its cyclic shifts.
constexpr double kIcosahedronA = 0.525731;
constexpr double kIcosahedronB = 0.850651;
// Atoms whose three bonds lead to neighbours that hold at least this many further bonds sit on
// a (111) plane and are never etched.
constexpr int kStableSecondNeighbours = 9;

const std::array<uint8_t, 3> kLinkColor{255, 255, 127};
const std::array<uint8_t, 3> kUnitCellColor{127, 127, 255};
constexpr uint8_t kUnitCellAlpha = 127;

// The cube over the eight unit-cell corners, as twelve triangles.
constexpr int kCubeTriangles[12][3] = {
    {0, 1, 2}, {1, 3, 2}, {2, 6, 4}, {2, 4, 0}, {1, 0, 4}, {1, 4, 5},
    {3, 6, 2}, {6, 3, 7}, {3, 1, 7}, {7, 1, 5}, {6, 7, 5}, {6, 5, 4},
};

Point normalized(const Point &p)
{
    const double length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    return {p[0] / length, p[1] / length, p[2] / length};
}

double distance(const Point &a, const Point &b)
{
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// The icosahedron's twenty faces, each wound counter-clockwise seen from outside.
std::vector<std::array<Point, 3>> icosahedron()
{
    std::vector<Point> corners;
    for (double s : {-1.0, 1.0})
        for (double t : {-1.0, 1.0}) {
            corners.push_back({0.0, s * kIcosahedronA, t * kIcosahedronB});
            corners.push_back({s * kIcosahedronA, t * kIcosahedronB, 0.0});
            corners.push_back({s * kIcosahedronB, 0.0, t * kIcosahedronA});
        }
    const double edge = 2.0 * kIcosahedronA;
    const auto isEdge = [edge](const Point &a, const Point &b) { return std::abs(distance(a, b) - edge) < 1e-3; };
    std::vector<std::array<Point, 3>> faces;
    for (size_t i = 0; i < corners.size(); ++i)
        for (size_t j = i + 1; j < corners.size(); ++j)
            for (size_t k = j + 1; k < corners.size(); ++k) {
                const Point &a = corners[i], &b = corners[j], &c = corners[k];
                if (!isEdge(a, b) || !isEdge(b, c) || !isEdge(a, c))
                    continue;
                const Point u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
                const Point v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
                const Point n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
                if (n[0] * a[0] + n[1] * a[1] + n[2] * a[2] > 0.0)
                    faces.push_back({a, b, c});
                else
                    faces.push_back({a, c, b});
            }
    return faces;
}

bool insidePlanes(const Util::Vector3D &local, const std::array<float, 3> &cellSize,
                  const std::vector<AtomisticView::ClipPlane> &planes)
{
    const double p[3] = {local.x / cellSize[0], local.y / cellSize[1], local.z / cellSize[2]};
    for (const AtomisticView::ClipPlane &plane : planes)
        if (!(plane[0] * p[0] + plane[1] * p[1] + plane[2] * p[2] + plane[3] < kInsideTolerance))
            return false;
    return true;
}

void push(std::vector<float> &out, const Util::Vector3D &p)
{
    out.push_back(float(p.x));
    out.push_back(float(p.y));
    out.push_back(float(p.z));
}

// Atoms with a bond open to the etchant or to a removed atom.
bool isSurfaceAtom(const SiAtom &atom, const SiAtom *atoms)
{
    for (uint32_t bond : atom.bonds)
        if (bond == SiAtom::kNoAtom || (SiAtom::isAtomIndex(bond) && atoms[bond].isRemoved()))
            return true;
    return false;
}

} // namespace

std::array<uint8_t, 3> AtomisticView::atomColor(int n, int m)
{
    if (n == 3)
        return m >= kStableSecondNeighbours ? kStableColor : kThreeBondColor;
    if (n == 2)
        return kTwoBondColor;
    return kOtherColor;
}

std::vector<float> AtomisticView::icosphere(int subdivisions)
{
    std::vector<std::array<Point, 3>> faces = icosahedron();
    for (int level = 0; level < subdivisions; ++level) {
        std::vector<std::array<Point, 3>> finer;
        finer.reserve(faces.size() * 4);
        for (const auto &f : faces) {
            const auto mid = [](const Point &a, const Point &b) {
                return normalized({(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2});
            };
            const Point ab = mid(f[0], f[1]), bc = mid(f[1], f[2]), ca = mid(f[2], f[0]);
            finer.push_back({f[0], ab, ca});
            finer.push_back({ab, f[1], bc});
            finer.push_back({ca, bc, f[2]});
            finer.push_back({ab, bc, ca});
        }
        faces.swap(finer);
    }
    std::vector<float> out;
    out.reserve(faces.size() * 3 * 3 * 2);
    for (float scale : {kAtomRadius, 1.0f})
        for (const auto &f : faces)
            for (const Point &p : f)
                for (double c : p)
                    out.push_back(float(c) * scale);
    return out;
}

void AtomisticView::build(const SiLattice *lattice, const Util::Vector3D &origin, const std::array<float, 3> &cellSize,
                          const std::vector<ClipPlane> &planes)
{
    atomList.clear();
    linkVertices.clear();
    cubeVertices.clear();
    cubeOrigins.clear();
    outlineVertices.clear();
    if (flags.renderSiAtoms && sphereVertices.empty())
        sphereVertices = icosphere(kSphereSubdivisions);
    if (!lattice)
        return;

    const std::vector<SiAtom> &atoms = lattice->atoms();
    const SiAtom *all = atoms.data();
    const bool surfaceOnly = flags.renderSurfaceAtomsOnly;
    const auto local = [&origin](const Util::Vector3D &p) { return Util::Vector3D(p - origin); };

    if (flags.renderSiAtoms || flags.renderAtomLinks) {
        for (uint32_t index = 0; index < atoms.size(); ++index) {
            const SiAtom &atom = atoms[index];
            if (atom.isRemoved() || (surfaceOnly && !isSurfaceAtom(atom, all)))
                continue;
            const Util::Vector3D position = local(lattice->atomPosition(index));
            if (!insidePlanes(position, cellSize, planes))
                continue;
            if (flags.renderSiAtoms)
                atomList.push_back({{float(position.x), float(position.y), float(position.z)},
                                    atomColor(bondedNeighbourCount(atom, all), secondNeighbourCount(atom, all))});
            if (!flags.renderAtomLinks || !atom.isPresent())
                continue;
            const auto &bondVectors = SiLatticeGeometry::bondVectors(SiLattice::slotOf(index));
            for (int k = 0; k < SiAtom::kBondCount; ++k) {
                const uint32_t bond = atom.bonds[k];
                if (bond == SiAtom::kNoAtom)
                    continue;
                const bool toAtom = SiAtom::isAtomIndex(bond);
                const Util::Vector3D other =
                    toAtom ? local(lattice->atomPosition(bond)) : Util::Vector3D(position + bondVectors[size_t(k)]);
                push(linkVertices, position);
                if (toAtom && all[bond].isPresent())
                    push(linkVertices, other);
                else
                    push(linkVertices, Util::Vector3D(0.5 * (position + other)));
            }
        }
    }

    if (flags.renderUnitCells) {
        const auto &corners = SiLatticeGeometry::neighbourCellOffsets();
        for (const auto &triangle : kCubeTriangles)
            for (int c : triangle)
                push(cubeVertices, corners[size_t(c)]);
    }
    if (flags.renderUnitCells || flags.renderUnitCellOutlines) {
        const double a = kUnitCellEdge;
        const double h = a * std::sqrt(2.0) / 2.0;
        for (const SiCell &cell : lattice->unitCells()) {
            const Util::Vector3D o = local(lattice->unitCellOrigin(cell));
            if (!insidePlanes(o, cellSize, planes))
                continue;
            if (flags.renderUnitCells)
                cubeOrigins.push_back({float(o.x), float(o.y), float(o.z)});
            if (!flags.renderUnitCellOutlines)
                continue;
            Util::Vector3D p[4] = {o, Util::Vector3D(o.x - h, o.y + h, o.z), Util::Vector3D(o.x, o.y + 2 * h, o.z),
                                   Util::Vector3D(o.x + h, o.y + h, o.z)};
            Util::Vector3D q[4];
            for (int i = 0; i < 4; ++i)
                q[i] = Util::Vector3D(p[i].x, p[i].y, p[i].z + a);
            const Util::Vector3D quads[6][4] = {
                {p[0], p[1], p[2], p[3]}, {q[0], q[3], q[2], q[1]}, {p[0], p[3], q[3], q[0]},
                {p[1], q[1], q[2], p[2]}, {p[0], q[0], q[1], p[1]}, {p[3], p[2], q[2], q[3]},
            };
            for (const auto &quad : quads)
                for (const Util::Vector3D &corner : quad)
                    push(outlineVertices, corner);
        }
    }
}

void AtomisticView::drawOpaque() const
{
    if (flags.renderSiAtoms && !atomList.empty() && !sphereVertices.empty()) {
        const GLsizei corners = GLsizei(sphereVertices.size() / 6);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, sphereVertices.data());
        glNormalPointer(GL_FLOAT, 0, sphereVertices.data() + sphereVertices.size() / 2);
        for (const Atom &atom : atomList) {
            glColor3ubv(atom.color.data());
            glPushMatrix();
            glTranslatef(atom.position[0], atom.position[1], atom.position[2]);
            glDrawArrays(GL_TRIANGLES, 0, corners);
            glPopMatrix();
        }
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    if (flags.renderAtomLinks && !linkVertices.empty()) {
        glColor3ubv(kLinkColor.data());
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, linkVertices.data());
        glDrawArrays(GL_LINES, 0, GLsizei(linkVertices.size() / 3));
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    if (flags.renderUnitCellOutlines && !outlineVertices.empty()) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        glEnable(GL_POLYGON_OFFSET_LINE);
        glPolygonOffset(-1.0f, -1.0f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glLineWidth(1.0f);
        glColor3ubv(kUnitCellColor.data());
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, outlineVertices.data());
        const GLsizei quads = GLsizei(outlineVertices.size() / 12);
        for (GLsizei i = 0; i < quads; ++i)
            glDrawArrays(GL_LINE_LOOP, i * 4, 4);
        glDisableClientState(GL_VERTEX_ARRAY);
        glPopAttrib();
    }
}

void AtomisticView::drawTranslucent() const
{
    if (!flags.renderUnitCells || cubeVertices.empty() || cubeOrigins.empty())
        return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    glColor4ub(kUnitCellColor[0], kUnitCellColor[1], kUnitCellColor[2], kUnitCellAlpha);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, cubeVertices.data());
    for (const auto &origin : cubeOrigins) {
        glPushMatrix();
        glTranslatef(origin[0], origin[1], origin[2]);
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(cubeVertices.size() / 3));
        glPopMatrix();
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopAttrib();
}

} // namespace Rendering
} // namespace Model
