#include "SimpleSiOxidationOperation.h"

#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidation.h"

namespace Core {
namespace Operations {

SimpleSiOxidationOperation::SimpleSiOxidationOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "Simple Si Oxidation", SiOxidationId, "Operation canceled.")
{
}

void SimpleSiOxidationOperation::finish()
{
    if (!volume || !(timeSet || thicknessSet)) {
        cancel();
        return;
    }
    // Oxidation consumes silicon.
    runAndEnd(
        [this] {
            if (thicknessSet)
                growOxideByThickness(*volume, micronConversion, thickness);
            else
                growOxideByTime(*volume, micronConversion, time, temperature, pressure);
        },
        true);
}

} // namespace Operations
} // namespace Core
