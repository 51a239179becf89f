#include "PhotolithographyOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Photolithography/Photolithography.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <string>

namespace Core {
namespace Operations {

using Model::Masks::ImageMask;

PhotolithographyOperation::PhotolithographyOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "Photolithography", PhotolithographyId, "Operation Canceled!")
{
}

void PhotolithographyOperation::cancel()
{
    removeOverlays();
    PlainVolumeStepOperation::cancel();
}

void PhotolithographyOperation::setTopMask(const ImageMask &mask)
{
    top = mask;
    showMask(Side::Top);
}

void PhotolithographyOperation::setBottomMask(const ImageMask &mask)
{
    bottom = mask;
    showMask(Side::Bottom);
}

void PhotolithographyOperation::setMaterial(uint32_t id)
{
    resist = id;
    materialSet = true;
}

void PhotolithographyOperation::showMask(Side side)
{
    if (!volume)
        return;
    const ImageMask &mask = side == Side::Top ? top : bottom;
    if (side == Side::Top)
        volume->setTopMask(mask.bits, mask.width, mask.height);
    else
        volume->setBottomMask(mask.bits, mask.width, mask.height);
    reportSizeMismatch(side);
    model->notifyUpdateObservers();
}

// Masks are not scaled, so a mask of another size than the volume's columns is almost always a
// mistake the user wants to hear about before the resist is developed.
void PhotolithographyOperation::reportSizeMismatch(Side side)
{
    const ImageMask &mask = side == Side::Top ? top : bottom;
    if (mask.isEmpty() || (mask.width == volume->sizeX() && mask.height == volume->sizeY()))
        return;
    std::string text = std::string(side == Side::Top ? "The top" : "The bottom") + " mask is " +
                       std::to_string(mask.width) + " \u00d7 " + std::to_string(mask.height) +
                       " pixels and the volume " + std::to_string(volume->sizeX()) + " \u00d7 " +
                       std::to_string(volume->sizeY()) + " cells.";
    if (mask.width < volume->sizeX() || mask.height < volume->sizeY())
        text += " Columns outside the mask are exposed.";
    if (mask.width > volume->sizeX() || mask.height > volume->sizeY())
        text += " Pixels outside the volume are ignored.";
    postMessage(text);
}

void PhotolithographyOperation::removeOverlays()
{
    if (!volume)
        return;
    volume->setTopMask(QBitArray(), 0, 0);
    volume->setBottomMask(QBitArray(), 0, 0);
}

void PhotolithographyOperation::finish()
{
    if (!volume || !materialSet) {
        cancel();
        return;
    }
    runAndEnd(
        [&] {
            developPhotoresist(*volume, resist, bottom, top);
            removeOverlays();
        },
        resist == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
