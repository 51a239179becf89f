#pragma once

#include "Core/Operations/ObjectOperation.h"
#include "Util/Vector3D.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {

// Builds a new cell volume with a box-shaped or spherical substrate and adds it to the scene.
// Its options observer shows the dialog and fills the parameters through setBox or setSphere.
class CreateSubstrateOperation : public ObjectOperation {
public:
    explicit CreateSubstrateOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
    bool undo() override;
    bool redo() override;

    void setBox(uint32_t material, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ, const Util::Vector3D &origin,
                uint32_t dx, uint32_t dy, uint32_t dz, uint32_t substrateX, uint32_t substrateY, uint32_t substrateZ);
    void setSphere(uint32_t material, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ, const Util::Vector3D &origin,
                   uint32_t centreX, uint32_t centreY, uint32_t centreZ, uint32_t radius);

    bool parametersAreSet() const { return parametersSet; }
    std::shared_ptr<Model::Automaton::TotalVolume> createdVolume() const { return created; }

private:
    void storeVolume(uint32_t material, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ, const Util::Vector3D &corner);

    std::shared_ptr<Model::Automaton::TotalVolume> created;
    uint32_t materialId = 0;
    uint32_t volumeSize[3] = {0, 0, 0};
    uint32_t substrateSize[3] = {0, 0, 0};
    uint32_t displacement[3] = {0, 0, 0};
    uint32_t radius = 0;
    uint32_t centre[3] = {0, 0, 0};
    Util::Vector3D origin;
    bool spherical = false;
    bool parametersSet = false;
};

} // namespace Operations
} // namespace Core
