#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace Util {
class IObserver;
}

namespace Core {

class ApplicationModel;

namespace Operations {

class ObjectOperation;

// The finished undoable operations, newest at the back, and those undone, ready to redo.
// Undo and redo first cancel whatever operation is running. There is no depth limit.
class UndoRedoStack {
public:
    explicit UndoRedoStack(ApplicationModel *model) : model(model) {}

    UndoRedoStack(const UndoRedoStack &) = delete;
    UndoRedoStack &operator=(const UndoRedoStack &) = delete;

    // Pushes a finished operation; the redo stack is emptied.
    void push(std::shared_ptr<ObjectOperation> op);
    bool undo();
    bool redo();
    // Empties both stacks and notifies both observer lists.
    void clear();

    // Name of the top operation of each stack, or "" when it is empty.
    std::string undoName() const;
    std::string redoName() const;
    size_t undoDepth() const { return undoStack.size(); }
    size_t redoDepth() const { return redoStack.size(); }

    void addUndoObserver(std::shared_ptr<Util::IObserver> observer);
    void addRedoObserver(std::shared_ptr<Util::IObserver> observer);

private:
    void notifyUndoObservers();
    void notifyRedoObservers();

    ApplicationModel *model;
    std::deque<std::shared_ptr<ObjectOperation>> undoStack;
    std::deque<std::shared_ptr<ObjectOperation>> redoStack;
    std::vector<std::shared_ptr<Util::IObserver>> undoObservers;
    std::vector<std::shared_ptr<Util::IObserver>> redoObservers;
};

} // namespace Operations
} // namespace Core
