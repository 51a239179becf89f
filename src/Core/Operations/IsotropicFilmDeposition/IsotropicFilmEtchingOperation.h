#pragma once

#include "Core/Operations/ObjectOperation.h"
#include "Core/Operations/SnapshotKey.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Removes one material to a uniform depth from every surface where it meets empty space.
class IsotropicFilmEtchingOperation : public ObjectOperation {
public:
    static constexpr uint32_t kEtchingProcess = 10;

    explicit IsotropicFilmEtchingOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
    bool undo() override;
    bool redo() override;

    void setDepth(float value);
    void setMaterial(uint32_t id);

    const SnapshotKey &snapshotKey() const { return snapshot; }

private:
    uint32_t materialId = 0;
    float depth = 0.0f;
    bool materialSet = false;
    bool depthSet = false;
    SnapshotKey snapshot;
};

} // namespace Operations
} // namespace Core
