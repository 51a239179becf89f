#pragma once

#include "Core/Operations/ObjectOperation.h"
#include "Core/Operations/SnapshotKey.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Plates a film of one material, of uniform thickness, on every exposed surface of a conductor.
class ElectrodepositionOperation : public ObjectOperation {
public:
    explicit ElectrodepositionOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
    bool undo() override;
    bool redo() override;

    void setThickness(float value);
    void setDepositedMaterial(uint32_t id);
    void setConductingMaterial(uint32_t id);

    const SnapshotKey &snapshotKey() const { return snapshot; }

private:
    uint32_t depositedMaterial = 0;
    uint32_t conductingMaterial = 0;
    float thickness = 0.0f;
    bool depositedSet = false;
    bool conductingSet = false;
    bool thicknessSet = false;
    SnapshotKey snapshot;
};

} // namespace Operations
} // namespace Core
