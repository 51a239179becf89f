#pragma once

// Marching cubes (Lorensen & Cline, 1987) over a cell volume's materials: every cube of eight
// neighbouring cell centres whose corners are partly filled yields up to five triangles, with
// vertices at edge midpoints and normals smoothed over shared vertices.

#include "Model/Geometry/MaterialColors.h"
#include "Model/Geometry/Triangle.h"
#include "Util/SlabRunner.h"

#include <QMutex>
#include <cstdint>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}
namespace Geometry {

class MarchingCubeSurface {
public:
    explicit MarchingCubeSurface(Automaton::TotalVolume &volume);

    MarchingCubeSurface(const MarchingCubeSurface &) = delete;
    MarchingCubeSurface &operator=(const MarchingCubeSurface &) = delete;

    // Rebuilds the triangles over the cut box [lower, upper]; locks the cells for reading, then
    // the surface.
    // A corner takes its cell's material when lower < c <= upper and c < size on every axis and
    // the cell is not cut; every other corner is empty. Triangles come in ascending x of their
    // cube, then y, then z, whatever the thread count; each vertex normal is the unit mean of the
    // face normals of all vertices that round to the same grid point.
    void build(const uint32_t lower[3], const uint32_t upper[3]);
    // The same from the volume's `cells`, which the caller holds locked; locks the surface.
    void build(const Automaton::Cell *cells, const uint32_t lower[3], const uint32_t upper[3]);

    // The x slabs the build hands to its workers: [lowerX, upperX) cut into `threads` equal
    // chunks, the last one running on to sizeX; when a chunk would be empty, one slab covers
    // [0, sizeX).
    static std::vector<Util::Slab> workerSlabs(uint32_t lowerX, uint32_t upperX, uint32_t sizeX,
                                               uint32_t threads);

    // A copy of the triangles, taken under the surface's mutex.
    std::vector<Triangle> triangles() const;
    size_t triangleCount() const;
    // How many times the triangles were built since the surface was made.
    uint64_t buildCount() const { return builds; }

    // Brings the colours for drawing in line with the painter's copy of the catalogue and the
    // volume's selection: every material the copy holds takes its colour from it; one it does
    // not hold keeps the colour it has had here, or opaque mid-grey (as on the cube faces) if it
    // never had one, so that it stays visible. Called by the drawing thread only, before it draws.
    void rebuildColorMap(const MaterialColorMap &catalogueColors, bool selected);
    // The colour a vertex of the material is drawn in: highlighted when the volume is selected.
    Rgba color(uint32_t materialId) const;

    // Guards the triangle list; drawing holds it while it walks the triangles.
    QMutex &mutex() const { return surfaceMutex; }
    // The triangle list itself; hold mutex() while reading it.
    const std::vector<Triangle> &triangleList() const { return triangleStore; }

private:
    void resizeTriangleStore(size_t count);

    Automaton::TotalVolume &volume;
    uint32_t sizeX;
    uint32_t sizeY;
    uint32_t sizeZ;
    std::vector<Triangle> triangleStore;
    // Plain colours; color() applies the highlight.
    MaterialColorMap colorMap;
    bool highlighted = false;
    uint64_t builds = 0;
    mutable QMutex surfaceMutex;
};

} // namespace Geometry
} // namespace Model
