#include "MoveObject.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Object.h"

namespace Core {
namespace Operations {

namespace {
enum Step : uint32_t { ChooseObjects = 0, FirstPoint = 1, FurtherPoints = 2, Done = 3 };
}

MoveObject::MoveObject(ApplicationModel *model) : MoveObject(model, "Move Objects", MoveId, "Move") {}

MoveObject::MoveObject(ApplicationModel *model, std::string name, uint32_t kind, std::string messagePrefix)
    : ObjectOperation(model, std::move(name), kind), prefix(std::move(messagePrefix))
{
}

void MoveObject::post(const std::string &text)
{
    model->inputRequest().postMessage(prefix + ": " + text);
}

std::string MoveObject::selectPrompt() const
{
    return "Select the object(s) to be copied and press Enter/Return.";
}

std::string MoveObject::doneMessage() const
{
    return "Object(s) moved";
}

void MoveObject::execute()
{
    switch (stepCounter) {
    case ChooseObjects:
        chooseObjects();
        break;
    case FirstPoint:
        if (typed) {
            stepCounter = Done;
            finish();
        } else {
            takeFirstClick();
        }
        break;
    case FurtherPoints:
        if (typed) {
            stepCounter = Done;
            finish();
        } else {
            takeFurtherClick();
        }
        break;
    default:
        break;
    }
}

void MoveObject::chooseObjects()
{
    const auto selection = model->selectedObjects();
    if (selection.isEmpty()) {
        post(selectPrompt());
        model->inputRequest().requestEnter(this);
        model->selectionMode().setSelectionMode(true);
        return;
    }
    moving = selection;
    for (const auto &object : moving) {
        object->setTemporary(true);
        object->setTemporaryDisplacement(distance);
    }
    post("Left click or enter the distance into the console (x, y, z):");
    model->setLinePreview(this, &basePoint, &currentPoint);
    armPointRequest();
    stepCounter = FirstPoint;
    model->selectionMode().setSelectionMode(false);
    model->notifyUpdateObservers();
}

void MoveObject::armPointRequest()
{
    model->inputRequest().requestPoint(this, &distance, &typed);
    model->inputRequest().setPickState(InputRequest::kPickArmed);
}

void MoveObject::takeFirstClick()
{
    model->inputRequest().resetRequest();
    basePoint = Util::Vector3D(model->inputRequest().clickedPoint());
    currentPoint = basePoint;
    model->setMovePreview(this, &basePoint, &currentPoint, &distance);
    model->setLinePreview(this, &basePoint, &currentPoint);
    post("Left click on destination.");
    stepCounter = FurtherPoints;
    armPointRequest();
}

void MoveObject::takeFurtherClick()
{
    const Util::Vector3D clicked(model->inputRequest().clickedPoint());
    distance = Util::Vector3D(distance + (clicked - basePoint));
    showDisplacement();
    basePoint = clicked;
    currentPoint = clicked;
    model->notifyUpdateObservers();
    if (model->inputRequest().pickState() != 0) {
        model->setMovePreview(this, &basePoint, &currentPoint, &distance);
        model->setLinePreview(this, &basePoint, &currentPoint);
        armPointRequest();
        return;
    }
    stepCounter = Done;
    finish();
}

void MoveObject::showDisplacement()
{
    for (const auto &object : moving)
        object->setTemporaryDisplacement(distance);
}

void MoveObject::finish()
{
    if (stepCounter != Done) {
        cancel();
        return;
    }
    for (const auto &object : moving) {
        object->setTemporary(false);
        object->setTemporaryDisplacement(Util::Vector3D());
    }
    apply();
    model->clearPreview();
    model->inputRequest().resetRequest();
    model->inputRequest().setPickState(0);
    model->notifyUpdateObservers();
    post(doneMessage());
    model->operationFinished();
}

void MoveObject::cancel()
{
    if (stepCounter == Done)
        return;
    for (const auto &object : moving) {
        object->setTemporary(false);
        object->setTemporaryDisplacement(Util::Vector3D());
    }
    model->clearPreview();
    model->inputRequest().resetRequest();
    model->inputRequest().setPickState(0);
    model->selectionMode().setSelectionMode(false);
    post("Operation canceled");
    if (model->currentOperation().get() == this)
        model->operationEnded();
    else
        model->notifyUpdateObservers();
}

void MoveObject::apply()
{
    for (const auto &object : moving)
        object->move(distance);
}

void MoveObject::revert()
{
    for (const auto &object : moving)
        object->move(-1.0 * distance);
}

void MoveObject::reapply()
{
    apply();
}

bool MoveObject::undo()
{
    revert();
    model->notifyUpdateObservers();
    return true;
}

bool MoveObject::redo()
{
    reapply();
    model->notifyUpdateObservers();
    return true;
}

} // namespace Operations
} // namespace Core
