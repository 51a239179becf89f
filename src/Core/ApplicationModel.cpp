#include "ApplicationModel.h"

#include "Core/Operations/IOperationFactory.h"
#include "Core/Operations/ObjectOperation.h"
#include "Core/Operations/Operation.h"
#include "Core/Operations/OperationIds.h"
#include "Util/IObserver.h"

namespace Core {

ApplicationModel::ApplicationModel()
    : undoRedoStack(this), selection(&documentScene, &state)
{
}

ApplicationModel::~ApplicationModel()
{
    // Operations refer back to the input request; let them go while it still exists.
    current.reset();
    retired.reset();
}

void ApplicationModel::startOperation(uint32_t id)
{
    cancelCurrent();
    std::shared_ptr<Operations::Operation> op = factory ? factory->create(id) : nullptr;
    if (current)
        retired = std::move(current);
    current = op;
    if (op)
        op->execute();
}

void ApplicationModel::startOperation(std::shared_ptr<Operations::Operation> op)
{
    cancelCurrent();
    if (current)
        retired = std::move(current);
    current = op;
    if (op)
        op->execute();
}

void ApplicationModel::endCurrent(bool pushOnUndoStack)
{
    auto op = current;
    if (pushOnUndoStack && op) {
        if (Operations::altersDocument(op->kind()))
            markModified();
        if (auto undoable = std::dynamic_pointer_cast<Operations::ObjectOperation>(op))
            undoRedoStack.push(undoable);
    }
    retired = std::move(current);
    current.reset();
    selection.clearSelection();
    notifyUpdateObservers();
}

void ApplicationModel::operationFinished()
{
    endCurrent(true);
}

void ApplicationModel::operationEnded()
{
    endCurrent(false);
}

void ApplicationModel::cancelCurrent()
{
    if (auto op = current)
        op->cancel();
}

void ApplicationModel::addUpdateObserver(std::shared_ptr<Util::IObserver> observer)
{
    updateObservers.push_back(std::move(observer));
}

void ApplicationModel::notifyUpdateObservers()
{
    const auto observers = updateObservers;
    for (const auto &observer : observers)
        observer->update();
}

void ApplicationModel::setOperationFactory(std::shared_ptr<Operations::IOperationFactory> newFactory)
{
    factory = std::move(newFactory);
}

} // namespace Core
