#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// "Pour Material": fills every empty cell below a height with one material. Not undoable.
class SpinCoatingOperation : public PlainVolumeStepOperation {
public:
    explicit SpinCoatingOperation(ApplicationModel *model);

    void finish() override;

    void setMaterial(uint32_t id);
    void setHeight(uint32_t cells);

private:
    uint32_t materialId = 0;
    uint32_t height = 0;
    bool materialSet = false;
    bool heightSet = false;
};

} // namespace Operations
} // namespace Core
