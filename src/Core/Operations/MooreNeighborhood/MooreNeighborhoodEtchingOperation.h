#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Removes whole cell layers of one material wherever it meets empty space.
// Both Moore steps keep their undo records under the snapshot name "MooreFilmDep".
class MooreNeighborhoodEtchingOperation : public SnapshotStepOperation {
public:
    explicit MooreNeighborhoodEtchingOperation(ApplicationModel *model);

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
