#include "UndoRedoStack.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/ObjectOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Util/IObserver.h"

namespace Core {
namespace Operations {

void UndoRedoStack::push(std::shared_ptr<ObjectOperation> op)
{
    undoStack.push_back(std::move(op));
    redoStack.clear();
    notifyUndoObservers();
    notifyRedoObservers();
}

bool UndoRedoStack::undo()
{
    if (undoStack.empty())
        return false;
    auto op = undoStack.back();
    undoStack.pop_back();
    model->cancelCurrent();
    if (op->undo()) {
        if (altersDocument(op->kind()))
            model->markModified();
        redoStack.push_back(op);
        notifyRedoObservers();
    } else {
        undoStack.push_back(op);
    }
    notifyUndoObservers();
    return true;
}

bool UndoRedoStack::redo()
{
    if (redoStack.empty())
        return false;
    auto op = redoStack.back();
    redoStack.pop_back();
    model->cancelCurrent();
    op->redo();
    if (altersDocument(op->kind()))
        model->markModified();
    undoStack.push_back(op);
    notifyUndoObservers();
    notifyRedoObservers();
    return true;
}

void UndoRedoStack::clear()
{
    undoStack.clear();
    redoStack.clear();
    notifyUndoObservers();
    notifyRedoObservers();
}

std::string UndoRedoStack::undoName() const
{
    return undoStack.empty() ? std::string() : undoStack.back()->name();
}

std::string UndoRedoStack::redoName() const
{
    return redoStack.empty() ? std::string() : redoStack.back()->name();
}

void UndoRedoStack::addUndoObserver(std::shared_ptr<Util::IObserver> observer)
{
    undoObservers.push_back(std::move(observer));
}

void UndoRedoStack::addRedoObserver(std::shared_ptr<Util::IObserver> observer)
{
    redoObservers.push_back(std::move(observer));
}

void UndoRedoStack::notifyUndoObservers()
{
    for (const auto &observer : undoObservers)
        observer->update();
}

void UndoRedoStack::notifyRedoObservers()
{
    for (const auto &observer : redoObservers)
        observer->update();
}

} // namespace Operations
} // namespace Core
