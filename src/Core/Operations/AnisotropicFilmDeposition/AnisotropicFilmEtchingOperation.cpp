#include "AnisotropicFilmEtchingOperation.h"

#include "AnisotropicFilmEtching.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

AnisotropicFilmEtchingOperation::AnisotropicFilmEtchingOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "Anisotropic Etching", AnisotropicEtchingId, "AnisotropicEtching")
{
}

void AnisotropicFilmEtchingOperation::setDepth(float value)
{
    depth = value;
    depthSet = true;
}

void AnisotropicFilmEtchingOperation::setHorizontalRatio(float value)
{
    horizontalRatio = value;
    horizontalRatioSet = true;
}

void AnisotropicFilmEtchingOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void AnisotropicFilmEtchingOperation::finish()
{
    if (!volume || !depthSet || !horizontalRatioSet || !materialSet) {
        cancel();
        return;
    }
    runRecorded([this] { etchAnisotropicFilm(*volume, materialId, depth, horizontalRatio); },
                materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
