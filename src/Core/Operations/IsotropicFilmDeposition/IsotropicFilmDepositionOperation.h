#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>
#include <string>

namespace Core {
namespace Operations {

// Grows a film of one material and uniform thickness on every exposed surface of a cell volume.
// The factory creates it as "Isotropic Deposition" (process 18) and as "CVD" (process 3); the
// process decides which materials the options dialog offers.
class IsotropicFilmDepositionOperation : public SnapshotStepOperation {
public:
    static constexpr uint32_t kIsotropicDepositionProcess = 18;
    static constexpr uint32_t kCvdProcess = 3;

    explicit IsotropicFilmDepositionOperation(ApplicationModel *model, std::string name = "Isotropic Deposition",
                                              uint32_t processId = kIsotropicDepositionProcess);

    void finish() override;

    void setThickness(float value);
    void setMaterial(uint32_t id);

    uint32_t processId() const { return process; }

private:
    uint32_t process;
    uint32_t materialId = 0;
    float thickness = 0.0f;
    bool materialSet = false;
    bool thicknessSet = false;
};

} // namespace Operations
} // namespace Core
