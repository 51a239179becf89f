#pragma once

// The particle count field view of a cell volume: every visible cell drawn as a cube whose
// colour shows the random-walk dopant particles it holds (the N-type count, the P-type count, or
// P − N) on a colour scale over the range of the counts, and cells without particles in their
// material colour. Built on the painter's cut box like the direct cubic faces.

#include "Model/Geometry/MaterialColors.h"
#include "Model/Geometry/QuadFace.h"
#include "Model/Rendering/ParticleColorMap.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class ParticleCountField;
class TotalVolume;
} // namespace Automaton
namespace Rendering {

class ParticleFieldView {
public:
    // Values of the distribution (VisualizationOptions::particleDistribution).
    enum Distribution : uint32_t { TypeN = 0, TypeP = 1, SignedSum = 2 };

    void setDistribution(uint32_t distribution) { shown = distribution; }
    uint32_t distribution() const { return shown; }
    void setColorScale(uint32_t scale) { map.setScale(scale); }
    const ParticleColorMap &colorMap() const { return map; }

    // Takes the volume's particle fields (either may be absent) and recomputes the value range
    // over every cell whose `fixed` flag is clear: the min and max of the chosen field's counts,
    // or of P − N for the signed sum; 0 to 1 when there is nothing to show. `cells` are the
    // volume's cells, held locked by the caller.
    void updateRange(const Automaton::TotalVolume &volume, const Automaton::Cell *cells);

    // The colour of one cell: its count on the colour scale when the chosen distribution gives it
    // a non-zero value, otherwise its material's colour from `materialColors`.
    Geometry::Rgba cellColor(uint32_t cellIndex, uint32_t materialId, const Geometry::MaterialColorMap &materialColors) const;

    // Rebuilds both face lists over the box [lower, upper) from `cells` (locked by the caller),
    // with the material colours of `catalogueColors` (id 0 is added as invisible). Exposed faces
    // are judged by the neighbours' material colours, never by their field colours. The x range
    // is cut into one slab per thread; the result does not depend on the thread count.
    void build(const Automaton::TotalVolume &volume, const Automaton::Cell *cells, const uint32_t lower[3],
               const uint32_t upper[3], const Geometry::MaterialColorMap &catalogueColors);

    // Resets each face's colours from the colour it was built with, or highlights them all.
    void recolor(bool selected);

    const std::vector<Geometry::QuadFace> &opaqueFaces() const { return opaque; }
    const std::vector<Geometry::QuadFace> &translucentFaces() const { return translucent; }

private:
    // The chosen distribution's value of a cell; an absent field counts 0.
    int64_t valueOf(uint32_t cellIndex) const;
    bool hasValues() const;

    uint32_t shown = TypeN;
    ParticleColorMap map;
    std::shared_ptr<Automaton::ParticleCountField> typeN;
    std::shared_ptr<Automaton::ParticleCountField> typeP;
    Geometry::MaterialColorMap colors;
    std::vector<Geometry::QuadFace> opaque;
    std::vector<Geometry::QuadFace> translucent;
    // The colour each face was built with, for recolouring after a highlight.
    std::vector<Geometry::Rgba> opaqueColors;
    std::vector<Geometry::Rgba> translucentColors;
};

} // namespace Rendering
} // namespace Model
