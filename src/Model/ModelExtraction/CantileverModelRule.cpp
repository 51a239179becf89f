#include "CantileverModelRule.h"

#include "Model/Materials/MaterialIds.h"
#include "Model/ModelExtraction/CantileverStructure.h"
#include "Model/ModelExtraction/ExtractedModel.h"

#include <algorithm>

namespace Model {
namespace ModelExtraction {

namespace {

// The sideways faces a beam may run along, in the order they are tried.
constexpr int kSidewaysFaces[] = {LowX, HighX, LowY, HighY};

bool isFreeEnd(const RectangularCuboidEnvelope &box)
{
    return box.material != Materials::kSiliconMaterial && box.neighbourCount == 1 && !box.neighbours[LowZ] &&
           !box.neighbours[HighZ];
}

bool continuesBeam(const RectangularCuboidEnvelope &box, uint32_t material, int direction)
{
    return box.material == material && box.neighbourCount == 2 && box.neighbours[direction];
}

void growToInclude(RectangularCuboidEnvelope &beam, const RectangularCuboidEnvelope &part)
{
    const uint32_t highX = std::max(beam.x + beam.sizeX, part.x + part.sizeX);
    const uint32_t highY = std::max(beam.y + beam.sizeY, part.y + part.sizeY);
    const uint32_t highZ = std::max(beam.z + beam.sizeZ, part.z + part.sizeZ);
    beam.x = std::min(beam.x, part.x);
    beam.y = std::min(beam.y, part.y);
    beam.z = std::min(beam.z, part.z);
    beam.sizeX = highX - beam.x;
    beam.sizeY = highY - beam.y;
    beam.sizeZ = highZ - beam.z;
}

EnvelopePointer beamFrom(const RectangularCuboidEnvelope &freeEnd)
{
    int direction = LowX;
    for (int face : kSidewaysFaces)
        if (freeEnd.neighbours[face]) {
            direction = face;
            break;
        }
    auto beam = std::make_shared<RectangularCuboidEnvelope>(freeEnd.x, freeEnd.y, freeEnd.z, freeEnd.sizeX,
                                                            freeEnd.sizeY, freeEnd.sizeZ, freeEnd.material);
    for (const RectangularCuboidEnvelope *part = freeEnd.neighbours[direction];
         part && continuesBeam(*part, freeEnd.material, direction); part = part->neighbours[direction])
        growToInclude(*beam, *part);
    return beam;
}

} // namespace

std::shared_ptr<IStructure> CantileverModelRule::apply(const ExtractedModel &boxes)
{
    found.clear();
    for (const EnvelopePointer &box : boxes.envelopes())
        if (isFreeEnd(*box))
            found.push_back(beamFrom(*box));
    if (found.empty())
        return nullptr;
    return std::make_shared<CantileverStructure>(found);
}

} // namespace ModelExtraction
} // namespace Model
