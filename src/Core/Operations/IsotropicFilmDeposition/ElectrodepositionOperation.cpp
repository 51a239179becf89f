#include "ElectrodepositionOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/Electrodeposition.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

ElectrodepositionOperation::ElectrodepositionOperation(ApplicationModel *model)
    : ObjectOperation(model, "Electroplating", ElectroplatingId), snapshot("Electroplating")
{
}

void ElectrodepositionOperation::execute()
{
    chooseVolumeThenFinish();
}

void ElectrodepositionOperation::cancel()
{
    cancelWithMessage();
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
    snapshot.recordBefore(*model, *volume);
    {
        Electrodeposition automaton(*volume, depositedMaterial, conductingMaterial, thickness);
        automaton.run(Electrodeposition::stepCount(
            thickness, AbstractDistanceCountingAutomatonBase::smallestCellLength(*volume)));
    }
    volume->painter().rebuild();
    snapshot.recordAfter(*model, *volume);
    model->volumeHistory().setLastStep(volume->objectId(), kind());
    model->notifyUpdateObservers();
    postMessage("Operation finished.");
    model->operationFinished();
}

bool ElectrodepositionOperation::undo()
{
    if (volume)
        snapshot.restoreUndo(*model, *volume);
    return true;
}

bool ElectrodepositionOperation::redo()
{
    if (volume)
        snapshot.restoreRedo(*model, *volume);
    return true;
}

} // namespace Operations
} // namespace Core
