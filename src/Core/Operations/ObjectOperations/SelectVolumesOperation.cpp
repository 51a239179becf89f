#include "SelectVolumesOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

SelectVolumesOperation::SelectVolumesOperation(ApplicationModel *model)
    : Operation(model, "Select volumes", BatchRunId)
{
}

void SelectVolumesOperation::execute()
{
    if (chosen)
        return;
    for (const auto &object : model->selectedObjects()) {
        if (auto selected = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object)) {
            volume = selected;
            model->selectionMode().clearSelection();
            model->selectionMode().setSelectionMode(false);
            model->notifyUpdateObservers();
            postMessage("Cell volume selected.");
            chosen = true;
            finish();
            return;
        }
    }
    if (!answer.empty() && (answer[0] == 'n' || answer[0] == 'N')) {
        chosen = true;
        model->selectionMode().setSelectionMode(false);
        finish();
        return;
    }
    postMessage("Select a cell volume and press Enter/Return. To start without a cell volume type N and press "
                "Enter/Return.");
    model->inputRequest().requestText(this, &answer);
    model->inputRequest().requestEnter(this);
    model->selectionMode().setSelectionMode(true);
}

void SelectVolumesOperation::finish()
{
    if (!chosen)
        return;
    askForOptions();
    model->inputRequest().resetRequest();
    model->operationFinished();
}

void SelectVolumesOperation::cancel()
{
    model->inputRequest().resetRequest();
    model->selectionMode().setSelectionMode(false);
    if (model->currentOperation().get() == this)
        model->operationEnded();
}

} // namespace Operations
} // namespace Core
