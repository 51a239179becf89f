#include "RemoveCutsFromVolumeOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/Cuts/CutCellVolume.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

#include <QBitArray>

namespace Core {
namespace Operations {

RemoveCutsFromVolumeOperation::RemoveCutsFromVolumeOperation(ApplicationModel *model)
    : Operation(model, "Remove Cuts", RemoveMaskedCutsId)
{
}

void RemoveCutsFromVolumeOperation::execute()
{
    chooseVolumeThenFinish();
}

void RemoveCutsFromVolumeOperation::cancel()
{
    cancelWithMessage("Operation Canceled!");
}

void RemoveCutsFromVolumeOperation::finish()
{
    if (!volume) {
        cancel();
        return;
    }
    removeAllCuts(*volume);
    volume->setTopMask(QBitArray(), 0, 0);
    model->notifyUpdateObservers();
    postMessage("Cut planes changed.");
    model->operationFinished();
}

} // namespace Operations
} // namespace Core
