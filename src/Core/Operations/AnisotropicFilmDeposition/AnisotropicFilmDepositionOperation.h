#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Grows a film that is thinner on side walls than on horizontal surfaces, by the horizontal to
// vertical ratio.
class AnisotropicFilmDepositionOperation : public SnapshotStepOperation {
public:
    // The process whose materials the options dialog offers.
    static constexpr uint32_t kAnisotropicDepositionProcess = 16;

    explicit AnisotropicFilmDepositionOperation(ApplicationModel *model);

    void finish() override;

    void setThickness(float value);
    void setHorizontalRatio(float value);
    void setMaterial(uint32_t id);

private:
    uint32_t materialId = 0;
    float thickness = 0.0f;
    float horizontalRatio = 0.0f;
    bool materialSet = false;
    bool thicknessSet = false;
    bool horizontalRatioSet = false;
};

} // namespace Operations
} // namespace Core
