#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Grows a film of whole cell layers on every solid surface, square at edges and corners.
// Both Moore steps keep their undo records under the snapshot name "MooreFilmDep".
class MooreNeighborhoodDepositionOperation : public SnapshotStepOperation {
public:
    explicit MooreNeighborhoodDepositionOperation(ApplicationModel *model);

    void finish() override;

    void setMaterial(uint32_t id);
    void setLayers(uint32_t count);

    uint32_t material() const { return materialId; }
    uint32_t layers() const { return layerCount; }

private:
    uint32_t materialId = 0;
    uint32_t layerCount = 0;
    bool materialSet = false;
    bool layersSet = false;
};

} // namespace Operations
} // namespace Core
