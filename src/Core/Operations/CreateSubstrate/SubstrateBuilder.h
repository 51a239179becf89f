#pragma once

#include "Util/Vector3D.h"

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

// Fills a new cell volume with a box-shaped or spherical substrate of one material. Sizes,
// displacements and the sphere's centre are in cells, from the volume's cell (0, 0, 0).
class SubstrateBuilder {
public:
    void setMaterial(uint32_t id) { materialId = id; }
    void setVolumeSize(uint32_t x, uint32_t y, uint32_t z);
    void setOrigin(const Util::Vector3D &corner) { origin = corner; }
    // A box of the given size displaced from cell (0, 0, 0); it is clipped at the far faces.
    void setBox(uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ, uint32_t dx, uint32_t dy, uint32_t dz);
    // A ball of cells whose centres lie within `radius` of the centre cell's centre.
    void setSphere(uint32_t centreX, uint32_t centreY, uint32_t centreZ, uint32_t radius);

    // The material of every cell in cell-index order.
    const std::vector<uint32_t> &fill();
    // A new volume holding the fill; the caller has checked that its size is acceptable.
    std::shared_ptr<Model::Automaton::TotalVolume> build();

private:
    void fillBox();
    void fillSphere();
    size_t index(uint32_t x, uint32_t y, uint32_t z) const
    {
        return (size_t(x) * volumeSize[1] + y) * volumeSize[2] + z;
    }

    uint32_t materialId = 0;
    uint32_t volumeSize[3] = {0, 0, 0};
    uint32_t substrateSize[3] = {0, 0, 0};
    uint32_t displacement[3] = {0, 0, 0};
    uint32_t radius = 0;
    uint32_t centre[3] = {0, 0, 0};
    bool spherical = false;
    float cellSize[3] = {1.0f, 1.0f, 1.0f};
    Util::Vector3D origin;
    std::vector<uint32_t> materials;
};

} // namespace Operations
} // namespace Core
