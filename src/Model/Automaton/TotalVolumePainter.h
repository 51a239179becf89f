#pragma once

// The painter of one cell volume: turns the cells inside the volume's cut box into drawable
// geometry by the chosen surface algorithm, keeps its colours in line with the selection, and
// draws it. Geometry is rebuilt only when the cells or an option change, never per frame.
//
// Direct cubic surface: one quad per visible cell face. An opaque cell shows a face unless the
// cell across it (inside the cut box) is opaque and not cut; a translucent cell also hides the
// faces it shares with cells of its own material, so a translucent body shows only its hull.
// Translucent faces are kept in a BSP tree so that the view can draw them back to front.

#include "Model/Geometry/BSPTree.h"
#include "Model/Geometry/MarchingCubeSurface.h"
#include "Model/Geometry/MaterialColors.h"
#include "Model/Geometry/OctreeSurface.h"
#include "Model/Geometry/QuadFace.h"
#include "Util/Vector3D.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRecursiveMutex>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace Materials {
class Material;
}
namespace Automaton {

class TotalVolume;

class TotalVolumePainter {
public:
    // The "Surface Generation Algorithm" visualization option.
    enum SurfaceAlgorithm : int {
        DirectCubic = 0,
        MarchingCubes = 1,
        Octree = 2,
        ParticleCountField = 3, // no surface: the particle count field view draws instead
    };

    // Half-open box of cells [lower, upper) that is turned into geometry.
    struct CutBox {
        std::array<uint32_t, 3> lower{};
        std::array<uint32_t, 3> upper{};
    };
    // A plane (a, b, c, d) in cell units; the clip planes keep what lies inside the cut box.
    using ClipPlane = std::array<double, 4>;

    // What a cell whose material is not in the catalogue shows: opaque mid-grey, so that it
    // stays visible and covers its neighbours like any solid.
    static constexpr Geometry::Rgba kMissingMaterialColor{0.5f, 0.5f, 0.5f, 1.0f};
    static constexpr Geometry::Rgba kEmptyVoxelOutlineColor{0.8f, 0.8f, 0.8f, 1.0f};

    // The cut box starts as the whole volume.
    explicit TotalVolumePainter(TotalVolume &volume);
    ~TotalVolumePainter();

    TotalVolumePainter(const TotalVolumePainter &) = delete;
    TotalVolumePainter &operator=(const TotalVolumePainter &) = delete;

    // Sets the visualization options, then rebuilds everything. The atomistic view's flags and
    // the particle view's distribution and colour scale join these arguments when those views
    // are added to the painter.
    void applyOptions(bool showEmptyVoxelOutlines, int surfaceAlgorithm);

    // Copies the cut box and recomputes the clip planes. Callers rebuild afterwards.
    void setCutLimits(const uint32_t lower[3], const uint32_t upper[3]);
    CutBox cutLimits() const;
    // (−1, 0, 0, x0), (1, 0, 0, −x1), (0, −1, 0, y0), (0, 1, 0, −y1), (0, 0, −1, z0), (0, 0, 1, −z1).
    std::array<ClipPlane, 6> clipPlanes() const;

    // Rebuilds everything: takes a fresh copy of the material catalogue, regenerates the direct
    // cubic faces (whatever the algorithm), builds the marching-cubes or octree surface over the
    // cut box when that algorithm is chosen, and the empty voxel outlines when they are shown.
    // Locks the volume's cells, so the caller must not hold them.
    void rebuild();
    // Direct cubic faces of the cut box, spread over the global thread pool by x slabs; the
    // result does not depend on the thread count. Also rebuilds the translucent tree.
    void regenerateFaces();
    // Six grey faces for every empty cell of the cut box (its cut count is not consulted).
    void regenerateEmptyVoxelFaces();
    // Brings the colours of the current geometry in line with the volume's selected state:
    // highlighted when selected, the material colours otherwise. Recolouring twice changes
    // nothing more. Direct cubic faces take the catalogue copy's current colours.
    void recolor();

    // Does nothing while hidden. Recolours first when the volume's selection has changed since
    // the colours were last set. Draws in the volume's frame (translated by its origin, and by
    // its move preview displacement while it is temporary): the opaque surface of the chosen
    // algorithm, with outlines when asked, then the translucent faces back to front as seen from
    // `eyePosition` (world coordinates), then the masks. Needs a current GL context.
    void paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition);
    // The bounding box as six quads at the volume's origin. Needs a current GL context.
    void paintForPicking();

    // Guards the drawable geometry (face lists, tree, colours, surfaces): rebuild(),
    // regenerate*(), recolor() and applyOptions() hold it while they change the geometry, paint()
    // and paintForPicking() while they draw. Recursive, because rebuild() calls the other
    // builders and paint() may recolour. Lock order: this, then the marching-cubes surface's
    // mutex, then the volume's cells (the builders lock the cells themselves); nothing that holds
    // the cells may take it.
    QRecursiveMutex &geometryMutex() const { return geometryLock; }

    TotalVolume &volume() { return owner; }

    bool isHidden() const { return hidden; }
    void setHidden(bool on) { hidden = on; }
    int surfaceAlgorithm() const { return algorithm; }
    bool showsEmptyVoxelOutlines() const { return showEmptyVoxels; }
    // Whether the geometry's colours currently show the selection highlight.
    bool colorsShowSelection() const { return showSelection; }

    // Material id → colour, from the painter's copy of the catalogue; id 0 is (0, 0, 0, 0).
    const Geometry::MaterialColorMap &materialColors() const { return colors; }
    // A material's colour, kMissingMaterialColor when the catalogue copy does not have it.
    Geometry::Rgba materialColor(uint32_t materialId) const;

    // In ascending x, y, z, then face order.
    const std::vector<Geometry::QuadFace> &opaqueFaces() const { return opaque; }
    const std::vector<Geometry::QuadFace> &translucentFaces() const { return translucent; }
    const std::vector<Geometry::QuadFace> &emptyVoxelFaces() const { return emptyVoxels; }
    // Shared so that a view may keep drawing a tree while the painter builds the next one.
    std::shared_ptr<const Geometry::BSPTree> translucentTree() const
    {
        QMutexLocker geometry(&geometryLock);
        return tree;
    }

    const Geometry::MarchingCubeSurface &marchingCubeSurface() const { return marchingCubes; }
    const Geometry::OctreeSurface &octreeSurface() const { return octree; }

private:
    void drawOpaquePass(bool drawOutlines, bool temporary);
    void drawTranslucentPass(const Util::Vector3D &eyeInVolume);
    void drawMarchingCubes();
    void drawMasks() const;

    void takeCatalogueSnapshot();
    void rebuildMaterialColors();

    TotalVolume &owner;
    std::vector<Materials::Material> catalogue;
    int algorithm = DirectCubic;
    bool showEmptyVoxels = false;
    bool hidden = false;
    bool showSelection;
    // Cell edge lengths, copied from the volume (they never change).
    float sx;
    float sy;
    float sz;
    mutable QRecursiveMutex geometryLock;
    mutable QMutex limitsMutex;
    CutBox limits;
    std::array<ClipPlane, 6> planes{};
    Geometry::MarchingCubeSurface marchingCubes;
    Geometry::OctreeSurface octree;
    // Atomistic view and particle count field view: held here once they exist; rebuild(),
    // recolor() and applyOptions() carry a marked place for each.
    Geometry::MaterialColorMap colors;
    std::vector<Geometry::QuadFace> opaque;
    std::vector<Geometry::QuadFace> translucent;
    std::vector<Geometry::QuadFace> emptyVoxels;
    std::shared_ptr<Geometry::BSPTree> tree;
    // Working memory of regenerateFaces (one byte per cell of the cut box), kept between builds
    // so that a rebuild does not fault in fresh pages.
    std::vector<uint8_t> cellParts;
    // A cell that shows faces: its place, how it takes part and which of its faces show.
    struct ShownCell {
        uint32_t x;
        uint32_t y;
        uint32_t z;
        uint8_t part;
        uint8_t visible;
    };
    // Working memory of regenerateFaces as well: the cells that show faces, three lists per slab.
    std::vector<std::vector<ShownCell>> shownCells;
};

} // namespace Automaton
} // namespace Model
