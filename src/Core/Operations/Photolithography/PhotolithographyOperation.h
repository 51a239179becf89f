#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"
#include "Model/Masks/ImageMask.h"

#include <cstdint>

namespace Core {
namespace Operations {

// Exposes a photoresist through a top and a bottom image mask and develops it. Not undoable.
// While its dialog is open, the masks set so far are shown over and under the volume.
class PhotolithographyOperation : public PlainVolumeStepOperation {
public:
    explicit PhotolithographyOperation(ApplicationModel *model);

    // Takes the masks off the volume again.
    void cancel() override;
    void finish() override;

    // Each keeps the mask and shows it on the chosen volume at once. A mask whose size differs
    // from the volume's columns is kept too, with a console line saying what that means.
    void setTopMask(const Model::Masks::ImageMask &mask);
    void setBottomMask(const Model::Masks::ImageMask &mask);
    void setMaterial(uint32_t id);

    const Model::Masks::ImageMask &topMask() const { return top; }
    const Model::Masks::ImageMask &bottomMask() const { return bottom; }

private:
    enum class Side { Top, Bottom };
    void showMask(Side side);
    void reportSizeMismatch(Side side);
    void removeOverlays();

    uint32_t resist = 0;
    Model::Masks::ImageMask bottom;
    Model::Masks::ImageMask top;
    bool materialSet = false;
};

} // namespace Operations
} // namespace Core
