#include "MooreNeighborhoodEtchingOperation.h"

#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtching.h"
#include "Core/Operations/MooreNeighborhood/MooreSnapshotName.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

MooreNeighborhoodEtchingOperation::MooreNeighborhoodEtchingOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "Moore film etching", MooreEtchingId, kMooreSnapshotName)
{
}

void MooreNeighborhoodEtchingOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void MooreNeighborhoodEtchingOperation::setLayers(uint32_t count)
{
    layerCount = count;
    layersSet = true;
}

void MooreNeighborhoodEtchingOperation::finish()
{
    if (!volume || !materialSet || !layersSet) {
        cancel();
        return;
    }
    runRecorded([this] { etchMooreFilm(*volume, materialId, layerCount); },
                materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
