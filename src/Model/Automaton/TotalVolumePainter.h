#pragma once

// The painter of one cell volume: holds the surface builders (direct cubic faces, marching
// cubes, octree) that turn the cells inside the volume's cut box into drawable geometry by the
// chosen surface algorithm, keeps their colours in line with the selection, and draws them.
//
// Geometry is built lazily: the painter remembers the volume's cell change count, the material
// catalogue's change count and the options it built for, and rebuilds only when it is asked to
// draw (or update()) and one of them differs. A volume that is changed many times and never
// drawn (a batch run) builds no surface at all; a colour edited in the catalogue shows at the
// next draw.

#include "Model/Geometry/BSPTree.h"
#include "Model/Geometry/DirectCubicSurface.h"
#include "Model/Geometry/MarchingCubeSurface.h"
#include "Model/Geometry/MaterialColors.h"
#include "Model/Geometry/OctreeSurface.h"
#include "Model/Geometry/QuadFace.h"
#include "Model/Rendering/AtomisticView.h"
#include "Model/Rendering/ParticleFieldView.h"
#include "Model/Rendering/VisualizationOptions.h"
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

class Cell;
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

    // What a cell whose material is not in the catalogue shows.
    static constexpr Geometry::Rgba kMissingMaterialColor = Geometry::DirectCubicSurface::kMissingMaterialColor;
    static constexpr Geometry::Rgba kEmptyVoxelOutlineColor = Geometry::DirectCubicSurface::kEmptyVoxelOutlineColor;

    // The cut box starts as the whole volume.
    explicit TotalVolumePainter(TotalVolume &volume);
    ~TotalVolumePainter();

    TotalVolumePainter(const TotalVolumePainter &) = delete;
    TotalVolumePainter &operator=(const TotalVolumePainter &) = delete;

    // Sets the visualization options; the geometry follows them when it is next drawn.
    void applyOptions(const Rendering::VisualizationOptions &options);
    // The same, keeping the atomistic and particle view options as they are.
    void applyOptions(bool showEmptyVoxelOutlines, int surfaceAlgorithm);
    // The options as last applied (the surface algorithm and empty-voxel switch included).
    Rendering::VisualizationOptions visualizationOptions() const;

    // Copies the cut box and recomputes the clip planes; the geometry follows the box when it is
    // next drawn.
    void setCutLimits(const uint32_t lower[3], const uint32_t upper[3]);
    CutBox cutLimits() const;
    // (−1, 0, 0, x0), (1, 0, 0, −x1), (0, −1, 0, y0), (0, 1, 0, −y1), (0, 0, −1, z0), (0, 0, 1, −z1).
    std::array<ClipPlane, 6> clipPlanes() const;

    // Whether the geometry was built from the volume's cells as they are now (by their change
    // count) and the material catalogue as it is now, with the current options and cut box.
    bool isCurrent() const;
    // Rebuilds everything unless the geometry is current; returns whether it built. When only the
    // catalogue changed, the marching-cubes triangles are kept (their colours are looked up as
    // they are drawn). For whoever needs the geometry without drawing it. Waits for the volume's
    // cells, so the caller must not hold them.
    bool update();
    // Rebuilds everything now, current or not: takes a fresh copy of the material catalogue,
    // regenerates the direct cubic faces (whatever the algorithm), builds the marching-cubes or
    // octree surface over the cut box when that algorithm is chosen, and the empty voxel outlines
    // when they are shown. Locks the volume's cells for reading, so the caller must not hold them.
    void rebuild();
    // How many times the geometry was built since the painter was made.
    uint64_t buildCount() const { return builds; }
    // Direct cubic faces of the cut box only (see Geometry::DirectCubicSurface); locks the cells.
    void regenerateFaces();
    // Six grey faces for every empty cell of the cut box (its cut count is not consulted).
    void regenerateEmptyVoxelFaces();
    // Brings the colours of the current geometry in line with the volume's selected state:
    // highlighted when selected, the material colours otherwise. Recolouring twice changes
    // nothing more. Direct cubic faces take the catalogue copy's current colours.
    void recolor();

    // Does nothing while hidden. Brings the geometry up to date first when it is not current and
    // the cells are free (while another thread holds them, it draws what it has rather than
    // wait), as update() does. Recolours when the volume's selection has changed since the
    // colours were last set. Draws in the volume's frame (translated by its origin, and by its
    // move preview displacement while it is temporary): the opaque surface of the chosen
    // algorithm, with outlines when asked, then the translucent faces back to front as seen from
    // `eyePosition` (world coordinates), then the masks. Needs a current GL context.
    void paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition);
    // The bounding box as six quads at the volume's origin. Needs a current GL context.
    void paintForPicking();

    // Guards the drawable geometry (face lists, tree, colours, surfaces): rebuild(),
    // regenerate*(), recolor() and applyOptions() hold it while they change the geometry, paint()
    // and paintForPicking() while they draw. Recursive, because rebuild() calls the other
    // builders and paint() may rebuild and recolour. Lock order: this, then the volume's cells,
    // then the marching-cubes surface's mutex; nothing that holds the cells may take it.
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

    // The geometry as last built (see isCurrent and update). In ascending x, y, z, then face order.
    const std::vector<Geometry::QuadFace> &opaqueFaces() const { return cubic.opaqueFaces(); }
    const std::vector<Geometry::QuadFace> &translucentFaces() const { return cubic.translucentFaces(); }
    const std::vector<Geometry::QuadFace> &emptyVoxelFaces() const { return cubic.emptyVoxelFaces(); }
    // Shared so that a view may keep drawing a tree while the painter builds the next one.
    std::shared_ptr<const Geometry::BSPTree> translucentTree() const
    {
        QMutexLocker geometry(&geometryLock);
        return cubic.translucentTree();
    }

    const Geometry::MarchingCubeSurface &marchingCubeSurface() const { return marchingCubes; }
    const Geometry::OctreeSurface &octreeSurface() const { return octree; }
    const Rendering::ParticleFieldView &particleFieldView() const { return particles; }
    const Rendering::AtomisticView &atomisticView() const { return atomistic; }

private:
    void drawOpaquePass(bool drawOutlines, bool temporary);
    void drawTranslucentPass(const Util::Vector3D &eyeInVolume);
    void drawMarchingCubes();
    void drawMasks() const;

    // What a build must redo: everything, or what is out of date (the marching-cubes triangles
    // stay when only the catalogue changed since the last build).
    enum class Reach { Everything, OutOfDate };
    // Builds from `cells`, which the caller holds locked for reading.
    void rebuildFrom(const Cell *cells, Reach reach);

    void takeCatalogueSnapshot();
    void rebuildMaterialColors();

    TotalVolume &owner;
    std::vector<Materials::Material> catalogue;
    int algorithm = DirectCubic;
    // The atomistic and particle view options; the algorithm and empty-voxel switch live apart.
    Rendering::VisualizationOptions viewOptions;
    bool showEmptyVoxels = false;
    bool hidden = false;
    bool showSelection;
    // The volume's cell change count and the catalogue's change count the geometry was built
    // for, and whether an option or the cut box changed since.
    uint64_t builtForChange = 0;
    uint64_t builtForCatalogue = 0;
    bool optionsChanged = true;
    uint64_t builds = 0;
    // Cell edge lengths, copied from the volume (they never change).
    float sx;
    float sy;
    float sz;
    mutable QRecursiveMutex geometryLock;
    mutable QMutex limitsMutex;
    CutBox limits;
    std::array<ClipPlane, 6> planes{};
    Geometry::DirectCubicSurface cubic;
    Geometry::MarchingCubeSurface marchingCubes;
    Geometry::OctreeSurface octree;
    Rendering::ParticleFieldView particles;
    Rendering::AtomisticView atomistic;
    Geometry::MaterialColorMap colors;
};

} // namespace Automaton
} // namespace Model
