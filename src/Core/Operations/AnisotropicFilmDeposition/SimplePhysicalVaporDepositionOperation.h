#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Physical vapour deposition: a film grown from the solid faces that look up, down or both,
// with lateral growth weighted by the horizontal to vertical ratio.
class SimplePhysicalVaporDepositionOperation : public SnapshotStepOperation {
public:
    // The process whose materials the options dialog offers.
    static constexpr uint32_t kPvdProcess = 4;

    explicit SimplePhysicalVaporDepositionOperation(ApplicationModel *model);

    void finish() override;

    void setThickness(float value);
    void setHorizontalRatio(float value);
    void setMaterial(uint32_t id);
    // SimplePhysicalVaporDeposition::Top, Bottom or BothSides.
    void setSides(uint32_t value);

private:
    uint32_t materialId = 0;
    float thickness = 0.0f;
    float horizontalRatio = 0.0f;
    uint32_t sides = 0;
    bool sidesSet = false;
    bool materialSet = false;
    bool thicknessSet = false;
    bool horizontalRatioSet = false;
};

} // namespace Operations
} // namespace Core
