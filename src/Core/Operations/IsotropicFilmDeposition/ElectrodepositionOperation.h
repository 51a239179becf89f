#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Plates a film of one material, of uniform thickness, on every exposed surface of a conductor.
class ElectrodepositionOperation : public SnapshotStepOperation {
public:
    explicit ElectrodepositionOperation(ApplicationModel *model);

    void finish() override;

    void setThickness(float value);
    void setDepositedMaterial(uint32_t id);
    void setConductingMaterial(uint32_t id);

private:
    uint32_t depositedMaterial = 0;
    uint32_t conductingMaterial = 0;
    float thickness = 0.0f;
    bool depositedSet = false;
    bool conductingSet = false;
    bool thicknessSet = false;
};

} // namespace Operations
} // namespace Core
