#include "IsotropicFilmEtchingOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtching.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

IsotropicFilmEtchingOperation::IsotropicFilmEtchingOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "Isotropic Etching", IsotropicEtchingId, "IsotropicEtching")
{
}

void IsotropicFilmEtchingOperation::setDepth(float value)
{
    depth = value;
    depthSet = true;
}

void IsotropicFilmEtchingOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void IsotropicFilmEtchingOperation::finish()
{
    if (!volume || !depthSet || !materialSet) {
        cancel();
        return;
    }
    runRecorded([this] { etchIsotropicFilm(*volume, materialId, depth); },
                materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
