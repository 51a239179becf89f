#include "SubstrateBuilder.h"

#include "Model/Automaton/TotalVolume.h"

#include <algorithm>

namespace Core {
namespace Operations {

void SubstrateBuilder::setVolumeSize(uint32_t x, uint32_t y, uint32_t z)
{
    volumeSize[0] = x;
    volumeSize[1] = y;
    volumeSize[2] = z;
}

void SubstrateBuilder::setBox(uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ, uint32_t dx, uint32_t dy, uint32_t dz)
{
    spherical = false;
    substrateSize[0] = sizeX;
    substrateSize[1] = sizeY;
    substrateSize[2] = sizeZ;
    displacement[0] = dx;
    displacement[1] = dy;
    displacement[2] = dz;
}

void SubstrateBuilder::setSphere(uint32_t centreX, uint32_t centreY, uint32_t centreZ, uint32_t r)
{
    spherical = true;
    centre[0] = centreX;
    centre[1] = centreY;
    centre[2] = centreZ;
    radius = r;
}

const std::vector<uint32_t> &SubstrateBuilder::fill()
{
    materials.assign(size_t(volumeSize[0]) * volumeSize[1] * volumeSize[2], 0);
    if (spherical)
        fillSphere();
    else
        fillBox();
    return materials;
}

void SubstrateBuilder::fillBox()
{
    // Compare in 64 bits: displacement + size may exceed 32 bits on typed-in values.
    auto end = [this](int axis) {
        return std::min<uint64_t>(volumeSize[axis], uint64_t(displacement[axis]) + substrateSize[axis]);
    };
    const uint64_t endX = end(0), endY = end(1), endZ = end(2);
    for (uint64_t x = displacement[0]; x < endX; ++x)
        for (uint64_t y = displacement[1]; y < endY; ++y)
            for (uint64_t z = displacement[2]; z < endZ; ++z)
                materials[index(uint32_t(x), uint32_t(y), uint32_t(z))] = materialId;
}

void SubstrateBuilder::fillSphere()
{
    // The radius is squared in 32-bit integers and measured in z cell lengths.
    const float radiusSquared = float(uint32_t(radius * radius)) * cellSize[2] * cellSize[2];
    for (uint32_t x = 0; x < volumeSize[0]; ++x) {
        const float dx = float(int32_t(x - centre[0])) * cellSize[0];
        for (uint32_t y = 0; y < volumeSize[1]; ++y) {
            const float dy = float(int32_t(y - centre[1])) * cellSize[1];
            for (uint32_t z = 0; z < volumeSize[2]; ++z) {
                const float dz = float(int32_t(z - centre[2])) * cellSize[2];
                if (radiusSquared >= dx * dx + dy * dy + dz * dz)
                    materials[index(x, y, z)] = materialId;
            }
        }
    }
}

std::shared_ptr<Model::Automaton::TotalVolume> SubstrateBuilder::build()
{
    fill();
    return std::make_shared<Model::Automaton::TotalVolume>(volumeSize[0], volumeSize[1], volumeSize[2],
                                                           cellSize[0], cellSize[1], cellSize[2], origin,
                                                           materials);
}

} // namespace Operations
} // namespace Core
