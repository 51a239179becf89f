#pragma once

// Wafer bonding: the top volume's occupied band is stacked onto the base's highest occupied
// layer, optionally turned over about the y axis, and shifted sideways.
//
// The base's cells below its top keep their place; the top's lowest occupied layer (its highest
// when inverted, which also mirrors it in x) lands on z = baseTop, shifted by (dx, dy). Every
// other cell of the result is empty. Both volumes are only read.

#include "GlueLayout.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

class GlueSubstrate {
public:
    // `settings` must be accepted by `layout` (GlueLayout::accepts), which must be the layout of
    // these two volumes.
    GlueSubstrate(Model::Automaton::TotalVolume &base, Model::Automaton::TotalVolume &top, const GlueLayout &layout,
                  const GlueSettings &settings);

    // The result's materials in its cell-index order, (x · sizeY + y) · sizeZ + z.
    std::vector<uint32_t> run();

private:
    Model::Automaton::TotalVolume &base;
    Model::Automaton::TotalVolume &top;
    GlueLayout layout;
    GlueSettings settings;
};

// Slabs thinner than this many x planes of either volume are not worth their tasks: below it
// the copy runs on the calling thread.
constexpr uint32_t kGlueMinimumSlabWidth = 2; // planes

// The glue step: a new volume of the chosen size holding both volumes' materials, with the
// layout's cell lengths and the base's origin. Preconditions as for GlueSubstrate.
std::shared_ptr<Model::Automaton::TotalVolume> glueVolumes(Model::Automaton::TotalVolume &base,
                                                           Model::Automaton::TotalVolume &top,
                                                           const GlueLayout &layout, const GlueSettings &settings);

} // namespace Operations
} // namespace Core
