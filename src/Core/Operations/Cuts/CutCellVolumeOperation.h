#pragma once

#include "Core/Operations/Cuts/CutBox.h"
#include "Core/Operations/Operation.h"

namespace Core {
namespace Operations {

// "Change Cut Planes": chooses a volume and sets the box of cells it shows (its painter's cut
// limits). Cells outside the box are only not drawn; nothing of the volume changes, so the
// operation is not undoable. While the dialog previews, the box shows at once; abandoning the
// operation puts back the box the volume had before.
class CutCellVolumeOperation : public Operation {
public:
    explicit CutCellVolumeOperation(ApplicationModel *model);

    // The common volume-choosing step, then the dialog, then finish.
    void execute() override;
    // Restores the box the volume showed before this operation, then "Operation Canceled!".
    void cancel() override;
    // With a box set: "Cut planes changed."; without (the dialog was declined): cancel.
    void finish() override;

    // The box the chosen volume is to show, fitted to the volume. Only once a volume is chosen.
    // With `rebuild` the view is refreshed at once; otherwise finish refreshes it.
    void setCutPlanes(const CutBox &box, bool rebuild);
    // Shows `box` on the chosen volume at once without deciding on it (the dialog's preview).
    void previewCutPlanes(const CutBox &box);

    // The chosen volume's size in cells and the box it shows now; zeros before a volume is chosen.
    std::array<uint32_t, 3> volumeSizes() const;
    CutBox shownBox() const;

private:
    void show(const CutBox &box);

    bool limitsSet = false;
    bool refreshed = false;
    bool changedBox = false;
    CutBox original;
};

} // namespace Operations
} // namespace Core
