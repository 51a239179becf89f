#include "GlueSubstrateOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/GlueSubstrate/GlueSubstrate.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;

namespace {

// The cell volumes of the selection, in selection order.
QList<std::shared_ptr<TotalVolume>> selectedVolumes(ApplicationModel &model)
{
    QList<std::shared_ptr<TotalVolume>> volumes;
    for (const auto &object : model.selectionMode().selectedObjects())
        if (auto volume = std::dynamic_pointer_cast<TotalVolume>(object))
            volumes.append(volume);
    return volumes;
}

} // namespace

GlueSubstrateOperation::GlueSubstrateOperation(ApplicationModel *model)
    : ObjectOperation(model, "Glue Volumes", GlueSubstrateId)
{
}

void GlueSubstrateOperation::execute()
{
    if (selectionStep == kNoneChosen)
        chooseBase();
    else if (selectionStep == kBaseChosen)
        chooseTop();
}

void GlueSubstrateOperation::waitForPick()
{
    model->inputRequest().requestEnter(this);
    model->selectionMode().setSelectionMode(true);
}

void GlueSubstrateOperation::chooseBase()
{
    const auto volumes = selectedVolumes(*model);
    if (volumes.isEmpty()) {
        postMessage("select the base cell volume and press Enter/Return.");
        waitForPick();
        return;
    }
    base = volumes.front();
    selectionStep = kBaseChosen;
    postMessage("base cell volume selected. Select top cell volume and press enter");
    // A second volume selected along with the base is taken as the top at once.
    for (const auto &volume : volumes) {
        if (volume != base) {
            takeTop(volume);
            return;
        }
    }
    model->selectionMode().clearSelection();
    model->notifyUpdateObservers();
    waitForPick();
}

void GlueSubstrateOperation::chooseTop()
{
    const auto volumes = selectedVolumes(*model);
    if (volumes.isEmpty()) {
        postMessage("select the top cell volume and press Enter/Return.");
        waitForPick();
        return;
    }
    takeTop(volumes.front());
}

void GlueSubstrateOperation::takeTop(const std::shared_ptr<TotalVolume> &volume)
{
    model->selectionMode().clearSelection();
    model->notifyUpdateObservers();
    if (volume == base) {
        postMessage("the top cell volume must be another volume than the base. Select the top cell volume and "
                    "press Enter/Return.");
        waitForPick();
        return;
    }
    model->selectionMode().setSelectionMode(false);
    postMessage("top cell volume selected.");

    const GlueLayout layout = GlueLayout::of(*base, *volume);
    if (!layout.topHasMaterial) {
        // Its occupied band would have no height: there is nothing to put on the base.
        postMessage("the top cell volume holds no material, so there is nothing to glue. Select another top cell "
                    "volume and press Enter/Return.");
        waitForPick();
        return;
    }
    top = volume;
    glueLayout = layout;
    chosen = layout.defaults();
    selectionStep = kBothChosen;
    askForOptions();
    finish();
}

void GlueSubstrateOperation::setFinalSize(uint32_t x, uint32_t y, uint32_t z)
{
    chosen.sizeX = x;
    chosen.sizeY = y;
    chosen.sizeZ = z;
    optionsGiven = true;
}

void GlueSubstrateOperation::setDisplacement(uint32_t dx, uint32_t dy)
{
    chosen.dx = dx;
    chosen.dy = dy;
    optionsGiven = true;
}

void GlueSubstrateOperation::setInvert(bool on)
{
    chosen.invert = on;
    optionsGiven = true;
}

void GlueSubstrateOperation::finish()
{
    if (selectionStep != kBothChosen || !base || !top || base == top) {
        model->notifyUpdateObservers();
        return;
    }
    if (!optionsGiven) { // the dialog was declined
        cancel();
        return;
    }
    std::string why;
    if (!glueLayout.accepts(chosen, &why)) {
        postMessage(why);
        cancel();
        return;
    }
    selectionStep = kGlued;
    glued = glueVolumes(*base, *top, glueLayout, chosen);
    model->scene().addObject(glued);
    model->scene().removeObject(base);
    model->scene().removeObject(top);
    model->notifyUpdateObservers();
    postMessage("volumes glued.");
    model->operationFinished();
}

void GlueSubstrateOperation::cancel()
{
    if (selectionStep == kGlued)
        return; // done; it lives on the undo stack
    cancelWithMessage();
}

bool GlueSubstrateOperation::undo()
{
    model->scene().removeObject(glued);
    model->scene().addObject(base);
    model->scene().addObject(top);
    model->notifyUpdateObservers();
    return true;
}

bool GlueSubstrateOperation::redo()
{
    model->scene().addObject(glued);
    model->scene().removeObject(base);
    model->scene().removeObject(top);
    model->notifyUpdateObservers();
    return true;
}

} // namespace Operations
} // namespace Core
