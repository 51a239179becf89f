#include "Operation.h"

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"
#include "Util/IObserver.h"

namespace Core {
namespace Operations {

Operation::Operation(ApplicationModel *model, std::string name, uint32_t kind)
    : model(model), operationName(std::move(name)), operationKind(kind)
{
}

Operation::~Operation()
{
    if (model)
        model->inputRequest().forget(this);
}

void Operation::postMessage(const std::string &text)
{
    model->inputRequest().postMessage(operationName + ": " + text);
}

void Operation::askForOptions()
{
    if (options)
        options->update();
}

void Operation::takeVolume(const std::shared_ptr<Model::Automaton::TotalVolume> &chosen)
{
    volume = chosen;
    postMessage("Cell volume selected.");
    askForOptions();
    finish();
}

void Operation::chooseVolumeThenFinish()
{
    if (volume)
        return;

    for (const auto &object : model->selectionMode().selectedObjects()) {
        if (auto chosen = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object)) {
            model->selectionMode().clearSelection();
            model->selectionMode().setSelectionMode(false);
            model->notifyUpdateObservers();
            takeVolume(chosen);
            return;
        }
    }

    const auto objects = model->scene().objects();
    if (objects.size() == 1) {
        if (auto only = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(objects.front())) {
            model->selectionMode().setSelectionMode(false);
            takeVolume(only);
            return;
        }
    }

    postMessage("Select a cell volume and press Enter/Return.");
    model->inputRequest().requestEnter(this);
    model->selectionMode().setSelectionMode(true);
}

void Operation::cancelWithMessage(const std::string &text)
{
    model->inputRequest().forget(this);
    model->selectionMode().setSelectionMode(false);
    model->clearPreview();
    postMessage(text);
    if (model->currentOperation().get() == this)
        model->operationEnded();
    else
        model->notifyUpdateObservers();
}

} // namespace Operations
} // namespace Core
