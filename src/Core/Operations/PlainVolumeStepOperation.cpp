#include "PlainVolumeStepOperation.h"

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

PlainVolumeStepOperation::PlainVolumeStepOperation(ApplicationModel *model, std::string name, uint32_t kind,
                                                   std::string cancelText)
    : Operation(model, std::move(name), kind), cancelText(std::move(cancelText))
{
}

void PlainVolumeStepOperation::execute()
{
    chooseVolumeThenFinish();
}

void PlainVolumeStepOperation::cancel()
{
    cancelWithMessage(cancelText);
}

void PlainVolumeStepOperation::runAndEnd(const std::function<void()> &runAutomaton, bool marksLatticeOutOfDate)
{
    runAutomaton();
    model->volumeHistory().setLastStep(volume->objectId(), kind());
    if (marksLatticeOutOfDate)
        model->volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    model->notifyUpdateObservers();
    postMessage("Operation finished.");
    // Not an ObjectOperation, so finishing leaves the undo stack alone but still counts as a
    // change of the document.
    model->operationFinished();
}

} // namespace Operations
} // namespace Core
