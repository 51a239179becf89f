#include "PlanarizationOperation.h"

#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Planarization/Planarization.h"

namespace Core {
namespace Operations {

PlanarizationOperation::PlanarizationOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "Planarization", PlanarizationId, "Operation canceled!")
{
}

void PlanarizationOperation::setMaximumHeight(uint32_t cells)
{
    maximumHeight = cells;
    maximumSet = true;
}

void PlanarizationOperation::setMinimumHeight(uint32_t cells)
{
    minimumHeight = cells;
    minimumSet = true;
}

void PlanarizationOperation::finish()
{
    if (!volume || !maximumSet || !minimumSet) {
        cancel();
        return;
    }
    // Whatever the cut removes may include silicon.
    runAndEnd([this] { planarize(*volume, maximumHeight, minimumHeight); }, true);
}

} // namespace Operations
} // namespace Core
