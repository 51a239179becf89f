#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Removes one material deeper than it undercuts: the lateral etch is the depth times the
// horizontal to vertical ratio.
class AnisotropicFilmEtchingOperation : public SnapshotStepOperation {
public:
    // The process whose materials the options dialog offers.
    static constexpr uint32_t kAnisotropicEtchingProcess = 17;

    explicit AnisotropicFilmEtchingOperation(ApplicationModel *model);

    void finish() override;

    void setDepth(float value);
    void setHorizontalRatio(float value);
    void setMaterial(uint32_t id);

private:
    uint32_t materialId = 0;
    float depth = 0.0f;
    float horizontalRatio = 0.0f;
    bool materialSet = false;
    bool depthSet = false;
    bool horizontalRatioSet = false;
};

} // namespace Operations
} // namespace Core
