#pragma once

// Octree surface: the cut box's cells are inserted into an octree whose uniform subtrees
// collapse into single leaves, and only the faces between leaves that show through each
// other are emitted, one quad per bordering leaf face.

#include "Model/Geometry/MaterialColors.h"
#include "Model/Geometry/QuadFace.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}
namespace Geometry {

struct OctreeNode;

class OctreeSurface {
public:
    OctreeSurface();
    ~OctreeSurface();

    OctreeSurface(const OctreeSurface &) = delete;
    OctreeSurface &operator=(const OctreeSurface &) = delete;

    // Rebuilds the tree and the quads over [lower, upper); locks the volume's cells for reading
    // while it builds the tree.
    // `colors` gives each material's catalogue colour.
    void build(Automaton::TotalVolume &volume, const uint32_t lower[3], const uint32_t upper[3],
               const MaterialColorMap &colors);
    // The same from the volume's `cells`, which the caller holds locked.
    void build(const Automaton::TotalVolume &volume, const Automaton::Cell *cells, const uint32_t lower[3],
               const uint32_t upper[3], const MaterialColorMap &colors);

    // Both quad lists take the highlight colour when `selected`, else their material's colour.
    void recolor(bool selected);

    const std::vector<QuadFace> &opaqueFaces() const { return opaque; }
    const std::vector<QuadFace> &translucentFaces() const { return translucent; }

    // Number of leaves of the last built tree (0 before the first build).
    std::size_t leafCount() const;

private:
    // Sets up the build; false when there is nothing to build.
    bool prepare(const Automaton::TotalVolume &volume, const uint32_t lower[3], const uint32_t upper[3],
                 const MaterialColorMap &colors);
    // The tree of cells [low, high) with its root at `level`, from the locked `cells`.
    void buildTree(const Automaton::TotalVolume &volume, const Automaton::Cell *cells);
    void emitQuads();

    std::array<uint32_t, 3> low{};
    std::array<uint32_t, 3> high{};
    int level = -1;
    std::unique_ptr<OctreeNode> root;
    float cellLength[3] = {1.0f, 1.0f, 1.0f};
    MaterialColorMap materialColors;
    std::vector<QuadFace> opaque;
    std::vector<QuadFace> translucent;
};

} // namespace Geometry
} // namespace Model
