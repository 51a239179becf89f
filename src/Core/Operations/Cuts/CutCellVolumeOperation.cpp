#include "CutCellVolumeOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

CutCellVolumeOperation::CutCellVolumeOperation(ApplicationModel *model)
    : Operation(model, "Change Cut Planes", CutCellVolumeId)
{
}

void CutCellVolumeOperation::execute()
{
    chooseVolumeThenFinish();
}

void CutCellVolumeOperation::cancel()
{
    if (volume && changedBox)
        show(original);
    changedBox = false;
    cancelWithMessage("Operation Canceled!");
}

void CutCellVolumeOperation::finish()
{
    if (!volume || !limitsSet) {
        cancel();
        return;
    }
    if (!refreshed)
        model->notifyUpdateObservers();
    postMessage("Cut planes changed.");
    model->operationFinished();
}

std::array<uint32_t, 3> CutCellVolumeOperation::volumeSizes() const
{
    if (!volume)
        return {0, 0, 0};
    return {volume->sizeX(), volume->sizeY(), volume->sizeZ()};
}

CutBox CutCellVolumeOperation::shownBox() const
{
    if (!volume)
        return CutBox();
    return volume->painter().cutLimits();
}

void CutCellVolumeOperation::setCutPlanes(const CutBox &box, bool rebuild)
{
    if (!volume)
        return;
    show(box);
    refreshed = rebuild;
    if (rebuild)
        model->notifyUpdateObservers();
    limitsSet = true;
}

void CutCellVolumeOperation::previewCutPlanes(const CutBox &box)
{
    if (!volume)
        return;
    show(box);
    model->notifyUpdateObservers();
}

// The painter builds the surfaces of the new box when the volume is next drawn.
void CutCellVolumeOperation::show(const CutBox &box)
{
    if (!changedBox) {
        original = shownBox();
        changedBox = true;
    }
    const CutBox fitted = fitCutBox(box, volumeSizes());
    volume->painter().setCutLimits(fitted.lower.data(), fitted.upper.data());
}

} // namespace Operations
} // namespace Core
