#include "IonImplantationOperation.h"

#include "Core/Operations/Doping/IonImplantation.h"
#include "Core/Operations/OperationIds.h"

namespace Core {
namespace Operations {

IonImplantationOperation::IonImplantationOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "Ion Implantation", IonImplantationId, "Operation canceled.")
{
}

void IonImplantationOperation::setDopedMaterial(uint32_t id)
{
    dopedMaterial = id;
    materialSet = true;
}

void IonImplantationOperation::setImplantationDepth(float value)
{
    implantationDepth = value;
    depthSet = true;
}

void IonImplantationOperation::setVerticalSpread(float value)
{
    verticalSpread = value;
    spreadSet = true;
}

void IonImplantationOperation::setAnnealingDistance(float value)
{
    annealingDistance = value;
    annealingSet = true;
}

void IonImplantationOperation::finish()
{
    if (!volume || !materialSet || !depthSet || !spreadSet || !annealingSet) {
        cancel();
        return;
    }
    runAndEnd(
        [this] { implantIons(*volume, dopedMaterial, implantationDepth, verticalSpread, annealingDistance); }, true);
}

} // namespace Operations
} // namespace Core
