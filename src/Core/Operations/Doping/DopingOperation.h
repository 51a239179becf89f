#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// "Doping": dopes silicon and the other dopable materials to a depth below every surface that
// meets empty space.
class DopingOperation : public SnapshotStepOperation {
public:
    explicit DopingOperation(ApplicationModel *model);

    void finish() override;

    void setDopedMaterial(uint32_t id);
    void setDopingDepth(float value);

private:
    uint32_t dopedMaterial = 0;
    float dopingDepth = 0.0f;
    bool materialSet = false;
    bool depthSet = false;
};

} // namespace Operations
} // namespace Core
