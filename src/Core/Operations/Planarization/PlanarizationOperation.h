#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Empties a volume above a maximum and below a minimum height. Not undoable.
class PlanarizationOperation : public PlainVolumeStepOperation {
public:
    explicit PlanarizationOperation(ApplicationModel *model);

    void finish() override;

    void setMaximumHeight(uint32_t cells);
    void setMinimumHeight(uint32_t cells);

private:
    uint32_t maximumHeight = 0;
    uint32_t minimumHeight = 0;
    bool maximumSet = false;
    bool minimumSet = false;
};

} // namespace Operations
} // namespace Core
