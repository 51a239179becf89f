#include "SnapshotStepOperation.h"

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

SnapshotStepOperation::SnapshotStepOperation(ApplicationModel *model, std::string name, uint32_t kind,
                                             const std::string &snapshotName)
    : ObjectOperation(model, std::move(name), kind), snapshot(snapshotName)
{
}

void SnapshotStepOperation::execute()
{
    chooseVolumeThenFinish();
}

void SnapshotStepOperation::cancel()
{
    cancelWithMessage();
}

void SnapshotStepOperation::runRecorded(const std::function<void()> &runAutomaton, bool mayChangeSilicon)
{
    snapshot.recordBefore(*model, *volume);
    runAutomaton();
    snapshot.recordAfter(*model, *volume);
    model->volumeHistory().setLastStep(volume->objectId(), kind());
    if (mayChangeSilicon)
        model->volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    model->notifyUpdateObservers();
    postMessage("Operation finished.");
    model->operationFinished();
}

bool SnapshotStepOperation::undo()
{
    if (volume)
        snapshot.restoreUndo(*model, *volume);
    return true;
}

bool SnapshotStepOperation::redo()
{
    if (volume)
        snapshot.restoreRedo(*model, *volume);
    return true;
}

} // namespace Operations
} // namespace Core
