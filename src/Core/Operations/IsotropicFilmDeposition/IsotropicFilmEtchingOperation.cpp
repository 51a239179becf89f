#include "IsotropicFilmEtchingOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtching.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

namespace {
constexpr uint32_t kSiliconMaterial = 1; // a step that may change silicon invalidates its lattice
}

IsotropicFilmEtchingOperation::IsotropicFilmEtchingOperation(ApplicationModel *model)
    : ObjectOperation(model, "Isotropic Etching", IsotropicEtchingId), snapshot("IsotropicEtching")
{
}

void IsotropicFilmEtchingOperation::execute()
{
    chooseVolumeThenFinish();
}

void IsotropicFilmEtchingOperation::cancel()
{
    cancelWithMessage();
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
    snapshot.recordBefore(*model, *volume);
    {
        IsotropicFilmEtching automaton(*volume, materialId, depth);
        automaton.run(
            IsotropicFilmEtching::stepCount(depth, AbstractDistanceCountingAutomatonBase::smallestCellLength(*volume)));
    }
    volume->painter().rebuild();
    snapshot.recordAfter(*model, *volume);
    model->volumeHistory().setLastStep(volume->objectId(), kind());
    if (materialId == kSiliconMaterial)
        model->volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    model->notifyUpdateObservers();
    postMessage("Operation finished.");
    model->operationFinished();
}

bool IsotropicFilmEtchingOperation::undo()
{
    if (volume)
        snapshot.restoreUndo(*model, *volume);
    return true;
}

bool IsotropicFilmEtchingOperation::redo()
{
    if (volume)
        snapshot.restoreRedo(*model, *volume);
    return true;
}

} // namespace Operations
} // namespace Core
