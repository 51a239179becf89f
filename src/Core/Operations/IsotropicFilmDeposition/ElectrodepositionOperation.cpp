#include "ElectrodepositionOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/Electrodeposition.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

ElectrodepositionOperation::ElectrodepositionOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "Electroplating", ElectroplatingId, "Electroplating")
{
}

void ElectrodepositionOperation::setThickness(float value)
{
    thickness = value;
    thicknessSet = true;
}

void ElectrodepositionOperation::setDepositedMaterial(uint32_t id)
{
    depositedMaterial = id;
    depositedSet = true;
}

void ElectrodepositionOperation::setConductingMaterial(uint32_t id)
{
    conductingMaterial = id;
    conductingSet = true;
}

void ElectrodepositionOperation::finish()
{
    if (!volume || !thicknessSet || !depositedSet || !conductingSet) {
        cancel();
        return;
    }
    // Whatever is plated, the step never marks the lattice out of date.
    runRecorded([this] { electroplate(*volume, depositedMaterial, conductingMaterial, thickness); }, false);
}

} // namespace Operations
} // namespace Core
