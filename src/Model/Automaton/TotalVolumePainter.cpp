#include "TotalVolumePainter.h"

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/ColorTable.h"
#include "Model/Materials/Material.h"
#include "Model/Materials/MaterialFactory.h"

#include <GL/gl.h>
#include <QBitArray>
#include <QMutexLocker>
#include <algorithm>
#include <mutex>

namespace Model {
namespace Automaton {

using Geometry::QuadFace;
using Geometry::Rgba;

TotalVolumePainter::TotalVolumePainter(TotalVolume &volume)
    : owner(volume),
      showSelection(!volume.isSelected()),
      sx(volume.cellSizeX()),
      sy(volume.cellSizeY()),
      sz(volume.cellSizeZ()),
      marchingCubes(volume)
{
    const uint32_t lower[3] = {0, 0, 0};
    const uint32_t upper[3] = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    setCutLimits(lower, upper);
    takeCatalogueSnapshot();
    rebuildMaterialColors();
}

TotalVolumePainter::~TotalVolumePainter() = default;

void TotalVolumePainter::applyOptions(const Rendering::VisualizationOptions &options)
{
    QMutexLocker geometry(&geometryLock);
    viewOptions = options;
    showEmptyVoxels = options.showEmptyVoxelOutlines;
    algorithm = int(options.surfaceAlgorithm);
    particles.setDistribution(options.particleDistribution);
    particles.setColorScale(options.colorScale);
    atomistic.setOptions(options);
    optionsChanged = true;
}

void TotalVolumePainter::applyOptions(bool showEmptyVoxelOutlines, int surfaceAlgorithm)
{
    Rendering::VisualizationOptions options = visualizationOptions();
    options.showEmptyVoxelOutlines = showEmptyVoxelOutlines;
    options.surfaceAlgorithm = uint32_t(surfaceAlgorithm);
    applyOptions(options);
}

Rendering::VisualizationOptions TotalVolumePainter::visualizationOptions() const
{
    QMutexLocker geometry(&geometryLock);
    Rendering::VisualizationOptions options = viewOptions;
    options.showEmptyVoxelOutlines = showEmptyVoxels;
    options.surfaceAlgorithm = uint32_t(algorithm);
    return options;
}

void TotalVolumePainter::setCutLimits(const uint32_t lower[3], const uint32_t upper[3])
{
    QMutexLocker geometry(&geometryLock);
    optionsChanged = true;
    QMutexLocker lock(&limitsMutex);
    for (int i = 0; i < 3; ++i) {
        limits.lower[i] = lower[i];
        limits.upper[i] = upper[i];
    }
    for (int axis = 0; axis < 3; ++axis) {
        ClipPlane below{0.0, 0.0, 0.0, double(lower[axis])};
        ClipPlane above{0.0, 0.0, 0.0, -double(upper[axis])};
        below[axis] = -1.0;
        above[axis] = 1.0;
        planes[2 * axis] = below;
        planes[2 * axis + 1] = above;
    }
}

TotalVolumePainter::CutBox TotalVolumePainter::cutLimits() const
{
    QMutexLocker lock(&limitsMutex);
    return limits;
}

std::array<TotalVolumePainter::ClipPlane, 6> TotalVolumePainter::clipPlanes() const
{
    QMutexLocker lock(&limitsMutex);
    return planes;
}

bool TotalVolumePainter::isCurrent() const
{
    QMutexLocker geometry(&geometryLock);
    return !optionsChanged && builtForChange == owner.cellChangeCount() &&
           builtForCatalogue == Materials::MaterialFactory::instance()->changeCount();
}

bool TotalVolumePainter::update()
{
    QMutexLocker geometry(&geometryLock);
    if (isCurrent())
        return false;
    const CellReadLock lock(owner);
    rebuildFrom(lock.cells(), Reach::OutOfDate);
    return true;
}

void TotalVolumePainter::rebuild()
{
    QMutexLocker geometry(&geometryLock);
    const CellReadLock lock(owner);
    rebuildFrom(lock.cells(), Reach::Everything);
}

// The change count is read while the cells are held, so it is the count of the cells built from.
// The catalogue's count is read before its copy is taken: a change in between makes the next
// draw build again rather than leave it unseen.
void TotalVolumePainter::rebuildFrom(const Cell *cells, Reach reach)
{
    const uint64_t change = owner.cellChangeCount();
    const uint64_t catalogueChange = Materials::MaterialFactory::instance()->changeCount();
    // Marching-cubes triangles carry material ids, not colours (those are looked up as they are
    // drawn), so when only the catalogue changed since the last build, the triangles built then
    // still stand: a colour edit on a large volume then costs the cube faces only, not the
    // several times dearer triangles. The faces and octree quads depend on the colours' alpha.
    const bool trianglesStand = reach == Reach::OutOfDate && !optionsChanged && builtForChange == change;
    ++builds;
    takeCatalogueSnapshot();
    rebuildMaterialColors();
    const CutBox box = cutLimits();
    cubic.build(owner, cells, box.lower.data(), box.upper.data(), colors);
    switch (algorithm) {
    case MarchingCubes:
        if (!trianglesStand)
            marchingCubes.build(cells, box.lower.data(), box.upper.data());
        break;
    case Octree:
        octree.build(owner, cells, box.lower.data(), box.upper.data(), colors);
        break;
    case ParticleCountField:
        particles.build(owner, cells, box.lower.data(), box.upper.data(), colors);
        break;
    default:
        break;
    }
    if (showEmptyVoxels)
        cubic.buildEmptyVoxelFaces(owner, cells, box.lower.data(), box.upper.data());
    else
        cubic.clearEmptyVoxelFaces();
    const std::array<ClipPlane, 6> clip = clipPlanes();
    atomistic.build(owner.siLattice().get(), owner.origin(), {sx, sy, sz},
                    std::vector<Rendering::AtomisticView::ClipPlane>(clip.begin(), clip.end()));

    // Every surface now carries plain material colours; the next paint highlights them if the
    // volume is selected.
    showSelection = false;
    // Only a build that got this far is current: one cut short (out of memory) is tried again.
    builtForChange = change;
    builtForCatalogue = catalogueChange;
    optionsChanged = false;
}

void TotalVolumePainter::regenerateFaces()
{
    QMutexLocker geometry(&geometryLock);
    rebuildMaterialColors();
    const CutBox box = cutLimits();
    const CellReadLock lock(owner);
    cubic.build(owner, lock.cells(), box.lower.data(), box.upper.data(), colors);
    if (algorithm == DirectCubic)
        showSelection = false;
}

void TotalVolumePainter::regenerateEmptyVoxelFaces()
{
    QMutexLocker geometry(&geometryLock);
    const CutBox box = cutLimits();
    const CellReadLock lock(owner);
    cubic.buildEmptyVoxelFaces(owner, lock.cells(), box.lower.data(), box.upper.data());
}

void TotalVolumePainter::recolor()
{
    QMutexLocker geometry(&geometryLock);
    const bool selected = owner.isSelected();
    switch (algorithm) {
    case DirectCubic:
        rebuildMaterialColors();
        cubic.recolor(colors, selected);
        break;
    case Octree:
        octree.recolor(selected);
        break;
    case ParticleCountField:
        particles.recolor(selected);
        break;
    default:
        // Marching cubes resolves its colours when it draws.
        break;
    }
    showSelection = selected;
}

void TotalVolumePainter::paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition)
{
    QMutexLocker geometry(&geometryLock);
    if (hidden)
        return;
    if (!isCurrent()) {
        const CellReadLock lock(owner, std::try_to_lock);
        if (lock.owns())
            rebuildFrom(lock.cells(), Reach::OutOfDate);
    }
    if (owner.isSelected() != showSelection)
        recolor();

    const bool temporary = owner.isTemporary();
    Util::Vector3D position = owner.origin();
    if (temporary)
        position = position + owner.temporaryDisplacement();
    glPushMatrix();
    glTranslated(position.x, position.y, position.z);
    if (!drawFaces) {
        glPopMatrix();
        return;
    }
    drawOpaquePass(drawOutlines, temporary);

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    drawTranslucentPass(eyePosition - position);
    drawMasks();
    glPopAttrib();
    glPopMatrix();
}

void TotalVolumePainter::paintForPicking()
{
    QMutexLocker geometry(&geometryLock);
    const Util::Vector3D position = owner.origin();
    const double high[3] = {double(owner.sizeX()) * sx, double(owner.sizeY()) * sy, double(owner.sizeZ()) * sz};
    glPushMatrix();
    glTranslated(position.x, position.y, position.z);
    glBegin(GL_QUADS);
    for (int k = 0; k < Geometry::kFaceCount; ++k) {
        glNormal3fv(Geometry::kFaceNormals[k]);
        for (const int *corner : Geometry::kFaceCorners[k])
            glVertex3d(corner[0] * high[0], corner[1] * high[1], corner[2] * high[2]);
    }
    glEnd();
    glPopMatrix();
}

namespace {

void drawFilledQuads(const QuadFace *faces, size_t count)
{
    glBegin(GL_QUADS);
    for (const QuadFace *face = faces; face != faces + count; ++face) {
        glNormal3fv(face->normal());
        glColor4fv(face->color.data());
        for (const Geometry::Point3f &vertex : face->vertices)
            glVertex3fv(vertex.data());
    }
    glEnd();
}

// Outlines in each face's own outline colour, or all in `common` when it is given.
void drawOutlineQuads(const std::vector<QuadFace> &faces, const Rgba *common)
{
    glBegin(GL_QUADS);
    for (const QuadFace &face : faces) {
        glColor4fv(common ? common->data() : face.outlineColor.data());
        for (const Geometry::Point3f &vertex : face.vertices)
            glVertex3fv(vertex.data());
    }
    glEnd();
}

// Lines over the faces just drawn: unlit, one pixel wide, pulled towards the eye so that they
// win the depth test against their own faces. The caller restores the attributes.
void beginOutlines()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glEnable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(-1.0f, -1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glLineWidth(1.0f);
}

Rgba temporaryOutlineColor()
{
    const Util::Vector4D c = ColorTable::instance().color(ColorTable::ObjectTemporaryColor);
    return Rgba{float(c.x), float(c.y), float(c.z), 1.0f};
}

} // namespace

// A volume in the move preview is outlined in the temporary colour whatever the outline flag.
void TotalVolumePainter::drawOpaquePass(bool drawOutlines, bool temporary)
{
    const Rgba previewColor = temporary ? temporaryOutlineColor() : Rgba{};
    const Rgba *outlineColor = temporary ? &previewColor : nullptr;
    const bool outlined = drawOutlines || temporary;
    switch (algorithm) {
    case DirectCubic:
        atomistic.drawOpaque();
        drawFilledQuads(cubic.opaqueFaces().data(), cubic.opaqueFaces().size());
        if (outlined) {
            beginOutlines();
            drawOutlineQuads(cubic.opaqueFaces(), outlineColor);
            drawOutlineQuads(cubic.translucentFaces(), outlineColor);
            if (showEmptyVoxels)
                drawOutlineQuads(cubic.emptyVoxelFaces(), outlineColor);
            glPopAttrib();
        }
        break;
    case MarchingCubes:
        drawMarchingCubes();
        break;
    case Octree:
    case ParticleCountField: {
        const std::vector<QuadFace> &faces =
            algorithm == Octree ? octree.opaqueFaces() : particles.opaqueFaces();
        drawFilledQuads(faces.data(), faces.size());
        if (outlined) {
            beginOutlines();
            drawOutlineQuads(faces, outlineColor);
            glPopAttrib();
        }
        break;
    }
    default:
        break;
    }
}

// Blending is on and depth writes are off.
void TotalVolumePainter::drawTranslucentPass(const Util::Vector3D &eyeInVolume)
{
    atomistic.drawTranslucent();
    switch (algorithm) {
    case DirectCubic: {
        static constexpr GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        glDisable(GL_COLOR_MATERIAL);
        cubic.translucentTree()->walkBackToFront(eyeInVolume, [](const QuadFace *faces, size_t count) {
            glBegin(GL_QUADS);
            for (const QuadFace *face = faces; face != faces + count; ++face) {
                glNormal3fv(face->normal());
                glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, face->color.data());
                glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kWhite);
                // What shows when lighting is off.
                glColor4fv(face->color.data());
                for (const Geometry::Point3f &vertex : face->vertices)
                    glVertex3fv(vertex.data());
            }
            glEnd();
        });
        glEnable(GL_COLOR_MATERIAL);
        break;
    }
    case Octree:
    case ParticleCountField: {
        const std::vector<QuadFace> &faces =
            algorithm == Octree ? octree.translucentFaces() : particles.translucentFaces();
        drawFilledQuads(faces.data(), faces.size());
        break;
    }
    default:
        break;
    }
}

void TotalVolumePainter::drawMarchingCubes()
{
    QMutexLocker surface(&marchingCubes.mutex());
    marchingCubes.rebuildColorMap(colors, showSelection);
    glBegin(GL_TRIANGLES);
    for (const Geometry::Triangle &triangle : marchingCubes.triangleList())
        for (const Geometry::TriangleVertex &vertex : triangle.vertices) {
            glNormal3fv(vertex.normal.data());
            glColor3fv(marchingCubes.color(vertex.materialId).data());
            glVertex3fv(vertex.position.data());
        }
    glEnd();
}

// Green translucent squares over the masked columns, below the volume for the bottom mask and
// above it for the top mask. A mask's first parameter is its width along x, the second its
// height along y and the row stride of its bits.
void TotalVolumePainter::drawMasks() const
{
    struct Placed {
        QBitArray bits;
        uint32_t width;
        uint32_t height;
        float z;
    };
    const Placed masks[2] = {
        {owner.bottomMask(), owner.bottomMaskA(), owner.bottomMaskB(), -5.0f * sz},
        {owner.topMask(), owner.topMaskA(), owner.topMaskB(), (float(owner.sizeZ()) + 5.0f) * sz},
    };
    glDisable(GL_CULL_FACE);
    glColor4f(0.2f, 0.8f, 0.2f, 0.3f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    for (const Placed &mask : masks) {
        const uint32_t width = std::min(mask.width, owner.sizeX());
        const uint32_t height = std::min(mask.height, owner.sizeY());
        for (uint32_t x = 0; x < width; ++x)
            for (uint32_t y = 0; y < height; ++y) {
                const uint64_t bit = uint64_t(x) * mask.height + y;
                if (bit >= uint64_t(mask.bits.size()) || !mask.bits.testBit(int(bit)))
                    continue;
                const float x0 = float(x) * sx, x1 = float(x + 1) * sx;
                const float y0 = float(y) * sy, y1 = float(y + 1) * sy;
                glVertex3f(x0, y0, mask.z);
                glVertex3f(x1, y0, mask.z);
                glVertex3f(x1, y1, mask.z);
                glVertex3f(x0, y1, mask.z);
            }
    }
    glEnd();
    glEnable(GL_CULL_FACE);
}

Rgba TotalVolumePainter::materialColor(uint32_t materialId) const
{
    const auto found = colors.find(materialId);
    return found == colors.end() ? Geometry::DirectCubicSurface::kMissingMaterialColor : found->second;
}

void TotalVolumePainter::takeCatalogueSnapshot()
{
    catalogue = Materials::MaterialFactory::instance()->materials();
}

void TotalVolumePainter::rebuildMaterialColors()
{
    colors.clear();
    for (const Materials::Material &material : catalogue)
        colors[material.materialId()] = material.color();
    colors[0] = Rgba{0.0f, 0.0f, 0.0f, 0.0f};
}

} // namespace Automaton
} // namespace Model
