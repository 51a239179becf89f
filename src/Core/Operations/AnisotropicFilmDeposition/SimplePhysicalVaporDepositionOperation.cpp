#include "SimplePhysicalVaporDepositionOperation.h"

#include "SimplePhysicalVaporDeposition.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

// The snapshot name is isotropic deposition's: both number their records from one counter, so a
// PVD's records never collide with an isotropic deposition's.
SimplePhysicalVaporDepositionOperation::SimplePhysicalVaporDepositionOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "PVD", PvdId, "IsotropicDeposition")
{
}

void SimplePhysicalVaporDepositionOperation::setThickness(float value)
{
    thickness = value;
    thicknessSet = true;
}

void SimplePhysicalVaporDepositionOperation::setHorizontalRatio(float value)
{
    horizontalRatio = value;
    horizontalRatioSet = true;
}

void SimplePhysicalVaporDepositionOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void SimplePhysicalVaporDepositionOperation::setSides(uint32_t value)
{
    sides = value;
    sidesSet = true;
}

void SimplePhysicalVaporDepositionOperation::finish()
{
    if (!volume || !thicknessSet || !horizontalRatioSet || !materialSet || !sidesSet) {
        cancel();
        return;
    }
    runRecorded([this] { depositPhysicalVapor(*volume, materialId, thickness, horizontalRatio, sides); },
                materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
