#include "IsotropicFilmDepositionOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

IsotropicFilmDepositionOperation::IsotropicFilmDepositionOperation(
    ApplicationModel *model, std::string name, uint32_t processId)
    : SnapshotStepOperation(model, std::move(name), IsotropicDepositionId, "IsotropicDeposition"),
      process(processId)
{
}

void IsotropicFilmDepositionOperation::setThickness(float value)
{
    thickness = value;
    thicknessSet = true;
}

void IsotropicFilmDepositionOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void IsotropicFilmDepositionOperation::finish()
{
    if (!volume || !thicknessSet || !materialSet) {
        cancel();
        return;
    }
    runRecorded([this] { depositIsotropicFilm(*volume, materialId, thickness); },
                materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
