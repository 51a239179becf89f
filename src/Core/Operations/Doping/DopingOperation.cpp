#include "DopingOperation.h"

#include "Core/Operations/Doping/SimpleDoping.h"
#include "Core/Operations/OperationIds.h"

namespace Core {
namespace Operations {

DopingOperation::DopingOperation(ApplicationModel *model) : SnapshotStepOperation(model, "Doping", DopingId, "Doping")
{
}

void DopingOperation::setDopedMaterial(uint32_t id)
{
    dopedMaterial = id;
    materialSet = true;
}

void DopingOperation::setDopingDepth(float value)
{
    dopingDepth = value;
    depthSet = true;
}

void DopingOperation::finish()
{
    if (!volume || !materialSet || !depthSet) {
        cancel();
        return;
    }
    // Doping turns silicon into doped silicon, so the lattice never survives it.
    runRecorded([this] { dopeByDiffusion(*volume, dopedMaterial, dopingDepth); }, true);
}

} // namespace Operations
} // namespace Core
