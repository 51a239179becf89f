#include "DeleteObject.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Object.h"

namespace Core {
namespace Operations {

DeleteObject::DeleteObject(ApplicationModel *model) : ObjectOperation(model, "Delete Objects", DeleteId) {}

void DeleteObject::post(const std::string &text)
{
    model->inputRequest().postMessage("Delete: " + text);
}

void DeleteObject::execute()
{
    if (haveObjects)
        return;
    const auto selection = model->selectedObjects();
    if (!selection.isEmpty()) {
        deleted = selection;
        model->selectionMode().clearSelection();
        model->selectionMode().setSelectionMode(false);
        haveObjects = true;
        finish();
        return;
    }
    if (prompted) {
        // Enter was pressed with nothing selected.
        model->selectionMode().setSelectionMode(false);
        finish();
        return;
    }
    prompted = true;
    post("Select the objects to be deleted and press Return/Enter");
    model->inputRequest().requestEnter(this);
    model->selectionMode().setSelectionMode(true);
}

void DeleteObject::finish()
{
    if (!haveObjects) {
        model->notifyUpdateObservers();
        model->inputRequest().resetRequest();
        post("Operation canceled, no selected objects.");
        model->operationEnded();
        return;
    }
    for (const auto &object : deleted)
        model->scene().removeObject(object);
    model->notifyUpdateObservers();
    post("objects deleted.");
    model->operationFinished();
}

void DeleteObject::cancel()
{
    if (haveObjects)
        return; // already done; it lives on the undo stack
    model->selectionMode().setSelectionMode(false);
    model->notifyUpdateObservers();
    model->inputRequest().resetRequest();
    post("Operation canceled.");
    if (model->currentOperation().get() == this)
        model->operationEnded();
}

bool DeleteObject::undo()
{
    for (const auto &object : deleted)
        model->scene().addObject(object);
    model->notifyUpdateObservers();
    return true;
}

bool DeleteObject::redo()
{
    for (const auto &object : deleted)
        model->scene().removeObject(object);
    model->notifyUpdateObservers();
    return true;
}

} // namespace Operations
} // namespace Core
