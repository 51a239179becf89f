#pragma once

#include <cstdint>

namespace Model {
namespace Rendering {

// How one cell volume is drawn: the switches of the atomistic silicon view, the empty-voxel
// outlines, the surface algorithm and the particle count field view's distribution and colour
// scale. The painter holds the current set; the "Change Cell Volume Viewing Options" operation
// carries a new one from its dialog to the painter.
struct VisualizationOptions {
    // Values of `particleDistribution`.
    enum Distribution : uint32_t { TypeN = 0, TypeP = 1, SignedSum = 2 };
    // Values of `colorScale`.
    enum Scale : uint32_t { GrayScale = 0, RedToBlue = 1, YellowToBlue = 2 };

    bool renderSiAtoms = false;
    bool renderSurfaceAtomsOnly = false;
    bool renderAtomLinks = false;
    bool renderUnitCells = false;
    bool renderUnitCellOutlines = false;
    bool showEmptyVoxelOutlines = false;
    // 0 direct cubic, 1 marching cubes, 2 octree, 3 particle count field view.
    uint32_t surfaceAlgorithm = 0;
    uint32_t particleDistribution = TypeN;
    uint32_t colorScale = GrayScale;

    bool operator==(const VisualizationOptions &o) const
    {
        return renderSiAtoms == o.renderSiAtoms && renderSurfaceAtomsOnly == o.renderSurfaceAtomsOnly &&
               renderAtomLinks == o.renderAtomLinks && renderUnitCells == o.renderUnitCells &&
               renderUnitCellOutlines == o.renderUnitCellOutlines && showEmptyVoxelOutlines == o.showEmptyVoxelOutlines &&
               surfaceAlgorithm == o.surfaceAlgorithm && particleDistribution == o.particleDistribution &&
               colorScale == o.colorScale;
    }
    bool operator!=(const VisualizationOptions &o) const { return !(*this == o); }
};

} // namespace Rendering
} // namespace Model
