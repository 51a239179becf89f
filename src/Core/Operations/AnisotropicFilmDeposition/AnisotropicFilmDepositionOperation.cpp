#include "AnisotropicFilmDepositionOperation.h"

#include "AnisotropicFilmDeposition.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

AnisotropicFilmDepositionOperation::AnisotropicFilmDepositionOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "Anisotropic Deposition", AnisotropicDepositionId, "AnisotropicDeposition")
{
}

void AnisotropicFilmDepositionOperation::setThickness(float value)
{
    thickness = value;
    thicknessSet = true;
}

void AnisotropicFilmDepositionOperation::setHorizontalRatio(float value)
{
    horizontalRatio = value;
    horizontalRatioSet = true;
}

void AnisotropicFilmDepositionOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void AnisotropicFilmDepositionOperation::finish()
{
    if (!volume || !thicknessSet || !horizontalRatioSet || !materialSet) {
        cancel();
        return;
    }
    runRecorded([this] { depositAnisotropicFilm(*volume, materialId, thickness, horizontalRatio); },
                materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
