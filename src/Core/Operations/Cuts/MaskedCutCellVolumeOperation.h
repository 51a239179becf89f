#pragma once

#include "Core/Operations/ObjectOperation.h"
#include "Model/Masks/ImageMask.h"

namespace Core {
namespace Operations {

// "Masked Cut": hides every column of the chosen volume that a top-down image mask leaves
// clear (see CutCellVolume). Undo takes back exactly this cut, redo makes it again; other cuts
// of the volume stay as they are. While the dialog is open the mask shows over the volume.
class MaskedCutCellVolumeOperation : public ObjectOperation {
public:
    explicit MaskedCutCellVolumeOperation(ApplicationModel *model);

    void execute() override;
    // Takes the mask off the volume, then "Operation Canceled!".
    void cancel() override;
    // With a volume and a mask: cuts, takes the mask off, "Cut planes changed."; otherwise cancel.
    void finish() override;
    bool undo() override;
    bool redo() override;

    // Shows `mask` over the chosen volume without deciding on it (the dialog's Apply and Remove).
    // A mask of another size than the volume's columns, or none, is explained on the console.
    void showMask(const Model::Masks::ImageMask &mask);
    // The mask the cut is made with; shows it too.
    void setMask(const Model::Masks::ImageMask &mask);

    const Model::Masks::ImageMask &mask() const { return cutMask; }

private:
    void reportSize(const Model::Masks::ImageMask &mask);
    void removeOverlay();

    Model::Masks::ImageMask cutMask;
    bool maskSet = false;
    // The mask the volume shows, so that showing the same mask again says nothing new.
    Model::Masks::ImageMask shown;
    bool showing = false;
};

} // namespace Operations
} // namespace Core
