#include "MooreNeighborhoodDepositionOperation.h"

#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDeposition.h"
#include "Core/Operations/MooreNeighborhood/MooreSnapshotName.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

MooreNeighborhoodDepositionOperation::MooreNeighborhoodDepositionOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "Moore film deposition", MooreDepositionId, kMooreSnapshotName)
{
}

void MooreNeighborhoodDepositionOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void MooreNeighborhoodDepositionOperation::setLayers(uint32_t count)
{
    layerCount = count;
    layersSet = true;
}

void MooreNeighborhoodDepositionOperation::finish()
{
    if (!volume || !materialSet || !layersSet) {
        cancel();
        return;
    }
    runRecorded([this] { depositMooreFilm(*volume, materialId, layerCount); },
                materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
