#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Simple reactive ion etching: a number of cells of one material removed from the exposed end
// of every column, from the top, from below or both. Not undoable.
class SimpleReactiveIonEtchingOperation : public PlainVolumeStepOperation {
public:
    explicit SimpleReactiveIonEtchingOperation(ApplicationModel *model);

    void finish() override;

    // A whole number of cells; a fractional depth is truncated.
    void setDepth(float cells);
    void setMaterial(uint32_t id);
    // SimpleReactiveIonEtching::kFromTop and/or kFromBelow; from the top until set.
    void setDirections(uint8_t value) { directions = value; }
    uint8_t directionFlags() const { return directions; }

private:
    uint32_t materialId = 0;
    float depth = 0.0f;
    uint8_t directions;
    bool materialSet = false;
    bool depthSet = false;
};

} // namespace Operations
} // namespace Core
