#pragma once

// Writes the surface of a cell volume as binary STL, the mesh format of CAD, slicers and
// simulation pre-processors. The surface is the one the view shows over the volume's cut box:
// the marching-cubes surface (smooth) or the faces of the cells (exact cubes, each face two
// triangles), in the volume's coordinates (its origin added). Triangles come grouped into one
// solid per material, in ascending material id; each triangle's attribute word carries its
// material id (below 2^15, so readers that take bit 15 as a colour flag see no colour).

#include "Model/Geometry/QuadFace.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace Model {
namespace Automaton {
class TotalVolume;
}
namespace Export {

class StlWriter {
public:
    enum class Surface { Cubes, Smooth };

    static constexpr const char *kFileFilter = "STL (*.stl)";
    static constexpr int kHeaderBytes = 80;
    static constexpr int kTriangleBytes = 50;

    using StlTriangle = std::array<Geometry::Point3f, 3>;
    // The triangles of one material, counter-clockwise seen from outside.
    struct Solid {
        uint32_t materialId = 0;
        std::vector<StlTriangle> triangles;
    };

    // Builds the chosen surface of `volume` over the cut box of its painter, with the material
    // catalogue's colours deciding which materials show. Locks the cells for reading, so the
    // caller must not hold them.
    static std::vector<Solid> solids(Automaton::TotalVolume &volume, Surface surface);

    // Writes the solids of `volume` into `fileName` through a QSaveFile. Empty on success,
    // otherwise why nothing was written.
    static QString write(Automaton::TotalVolume &volume, Surface surface, const QString &fileName);
    static QString write(const std::vector<Solid> &solids, const QString &fileName);
};

} // namespace Export
} // namespace Model
