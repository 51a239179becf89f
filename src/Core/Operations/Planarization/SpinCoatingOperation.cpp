#include "SpinCoatingOperation.h"

#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Planarization/SpinCoating.h"

namespace Core {
namespace Operations {

SpinCoatingOperation::SpinCoatingOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "Pour Material", PourMaterialId, "Operation canceled.")
{
}

void SpinCoatingOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void SpinCoatingOperation::setHeight(uint32_t cells)
{
    height = cells;
    heightSet = true;
}

void SpinCoatingOperation::finish()
{
    if (!volume || !materialSet || !heightSet) {
        cancel();
        return;
    }
    runAndEnd([this] { pourMaterial(*volume, materialId, height); }, false);
}

} // namespace Operations
} // namespace Core
