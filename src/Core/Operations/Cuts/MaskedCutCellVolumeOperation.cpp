#include "MaskedCutCellVolumeOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/Cuts/CutCellVolume.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

#include <string>

namespace Core {
namespace Operations {

using Model::Masks::ImageMask;

namespace {

bool sameMask(const ImageMask &a, const ImageMask &b)
{
    return a.width == b.width && a.height == b.height && a.bits == b.bits;
}

std::string size(uint32_t width, uint32_t height)
{
    return std::to_string(width) + " \u00d7 " + std::to_string(height);
}

} // namespace

MaskedCutCellVolumeOperation::MaskedCutCellVolumeOperation(ApplicationModel *model)
    : ObjectOperation(model, "Masked Cut", MaskedVolumeCutId)
{
}

void MaskedCutCellVolumeOperation::execute()
{
    chooseVolumeThenFinish();
}

void MaskedCutCellVolumeOperation::cancel()
{
    removeOverlay();
    cancelWithMessage("Operation Canceled!");
}

void MaskedCutCellVolumeOperation::finish()
{
    if (!volume || !maskSet) {
        cancel();
        return;
    }
    cutMaskedColumns(*volume, cutMask);
    removeOverlay();
    model->notifyUpdateObservers();
    postMessage("Cut planes changed.");
    model->operationFinished();
}

bool MaskedCutCellVolumeOperation::undo()
{
    if (!volume)
        return false;
    uncutMaskedColumns(*volume, cutMask);
    model->notifyUpdateObservers();
    return true;
}

bool MaskedCutCellVolumeOperation::redo()
{
    if (!volume)
        return false;
    cutMaskedColumns(*volume, cutMask);
    model->notifyUpdateObservers();
    return true;
}

void MaskedCutCellVolumeOperation::setMask(const ImageMask &mask)
{
    cutMask = mask;
    maskSet = true;
    showMask(mask);
}

void MaskedCutCellVolumeOperation::showMask(const ImageMask &mask)
{
    if (!volume || (showing && sameMask(mask, shown)))
        return;
    shown = mask;
    showing = true;
    volume->setTopMask(mask.bits, mask.width, mask.height);
    reportSize(mask);
    model->notifyUpdateObservers();
}

// Masks are not scaled and every column beyond the image is cut, so a mask of another size than
// the volume's columns hides more than the user may expect: say so before the cut is made.
void MaskedCutCellVolumeOperation::reportSize(const ImageMask &mask)
{
    const uint32_t sizeX = volume->sizeX();
    const uint32_t sizeY = volume->sizeY();
    if (mask.isEmpty()) {
        postMessage("Without a mask every column is cut.");
        return;
    }
    if (mask.width == sizeX && mask.height == sizeY)
        return;
    std::string text =
        "The mask is " + size(mask.width, mask.height) + " pixels and the volume " + size(sizeX, sizeY) + " cells.";
    if (mask.width < sizeX || mask.height < sizeY)
        text += " Columns outside the mask are cut.";
    if (mask.width > sizeX || mask.height > sizeY)
        text += " Pixels outside the volume are ignored.";
    postMessage(text);
}

void MaskedCutCellVolumeOperation::removeOverlay()
{
    if (volume && showing)
        volume->setTopMask(QBitArray(), 0, 0);
    showing = false;
}

} // namespace Operations
} // namespace Core
