#pragma once

// Direct cubic surface: one quad per visible cell face. An opaque cell shows a face unless the
// cell across it (inside the cut box) is opaque and not cut; a translucent cell also hides the
// faces it shares with cells of its own material, so a translucent body shows only its hull.
// Translucent faces are also kept in a BSP tree, so that a view can draw them back to front.
// Beside it, the outlines of the empty cells: six faces for every empty cell of the cut box.
//
// Plain data: building reads cells that the caller holds locked and needs no GL context.

#include "Model/Geometry/BSPTree.h"
#include "Model/Geometry/MaterialColors.h"
#include "Model/Geometry/QuadFace.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}
namespace Geometry {

class DirectCubicSurface {
public:
    // What a cell whose material has no colour shows.
    static constexpr Rgba kMissingMaterialColor = Geometry::kMissingMaterialColor;
    static constexpr Rgba kEmptyVoxelOutlineColor{0.8f, 0.8f, 0.8f, 1.0f};

    DirectCubicSurface();
    ~DirectCubicSurface();

    DirectCubicSurface(const DirectCubicSurface &) = delete;
    DirectCubicSurface &operator=(const DirectCubicSurface &) = delete;

    // Rebuilds the faces of the cells of `volume` in [lower, upper) (clipped to the volume) and
    // the translucent tree. `cells` are the volume's cells, locked by the caller for the whole
    // call; `colors` gives every material its colour (id 0 included). The work is spread over
    // the global thread pool by x slabs; the lists and the serials of their faces do not depend
    // on the thread count. Faces carry their material's plain colour.
    void build(const Automaton::TotalVolume &volume, const Automaton::Cell *cells, const uint32_t lower[3],
               const uint32_t upper[3], const MaterialColorMap &colors);
    // Six faces in kEmptyVoxelOutlineColor for every empty cell of [lower, upper); the cut count
    // is not consulted. `cells` as for build().
    void buildEmptyVoxelFaces(const Automaton::TotalVolume &volume, const Automaton::Cell *cells,
                              const uint32_t lower[3], const uint32_t upper[3]);
    // Drops the empty voxel faces and their memory.
    void clearEmptyVoxelFaces();

    // Every face (tree included) takes its material's colour from `colors`, highlighted when
    // `selected`. Taken from the material colour, not the face's current one, so that doing it
    // twice changes nothing more.
    void recolor(const MaterialColorMap &colors, bool selected);

    // In ascending x, y, z, then face order.
    const std::vector<QuadFace> &opaqueFaces() const { return opaque; }
    const std::vector<QuadFace> &translucentFaces() const { return translucent; }
    const std::vector<QuadFace> &emptyVoxelFaces() const { return emptyVoxels; }
    // Shared so that a view may keep drawing a tree while the next one is built.
    std::shared_ptr<const BSPTree> translucentTree() const { return tree; }

private:
    // A cell that shows faces: its place, how it takes part and which of its faces show.
    struct ShownCell {
        uint32_t x;
        uint32_t y;
        uint32_t z;
        uint8_t part;
        uint8_t visible;
    };

    std::vector<QuadFace> opaque;
    std::vector<QuadFace> translucent;
    std::vector<QuadFace> emptyVoxels;
    std::shared_ptr<BSPTree> tree;
    // Working memory of build (one byte per cell of the cut box), kept between builds so that a
    // rebuild does not fault in fresh pages.
    std::vector<uint8_t> cellParts;
    // Working memory of build as well: the cells that show faces, three lists per slab.
    std::vector<std::vector<ShownCell>> shownCells;
};

} // namespace Geometry
} // namespace Model
