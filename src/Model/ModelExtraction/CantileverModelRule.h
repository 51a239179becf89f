#pragma once

#include "Model/ModelExtraction/IModelRule.h"
#include "Model/ModelExtraction/RectangularCuboidEnvelope.h"

namespace Model {
namespace ModelExtraction {

// Finds cantilevers among linked boxes. A candidate is a box not of silicon that touches exactly
// one other box, sideways (nothing above or below it): the free end of a beam. From it the beam
// runs towards that neighbour through every box of the same material that continues it (two
// neighbours, one of them further on in the same direction), and ends before the first box that
// does not, usually the anchor. Each beam becomes one box, the bounding box of its parts.
class CantileverModelRule : public IModelRule {
public:
    // A CantileverStructure of the beams in the order of their free ends, or none without beams.
    std::shared_ptr<IStructure> apply(const ExtractedModel &boxes) override;

    // The beams of the last apply.
    const Envelopes &beams() const { return found; }

private:
    Envelopes found;
};

} // namespace ModelExtraction
} // namespace Model
