#pragma once

#include "Core/Operations/SnapshotStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Removes one material to a uniform depth from every surface where it meets empty space.
class IsotropicFilmEtchingOperation : public SnapshotStepOperation {
public:
    static constexpr uint32_t kEtchingProcess = 10;

    explicit IsotropicFilmEtchingOperation(ApplicationModel *model);

    void finish() override;

    void setDepth(float value);
    void setMaterial(uint32_t id);

private:
    uint32_t materialId = 0;
    float depth = 0.0f;
    bool materialSet = false;
    bool depthSet = false;
};

} // namespace Operations
} // namespace Core
