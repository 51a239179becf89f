#pragma once

#include "Core/Operations/InputRequest.h"
#include "Core/Operations/SelectionMode.h"
#include "Core/Operations/SelectionState.h"
#include "Core/Operations/UndoRedoStack.h"
#include "Core/VolumeHistory.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Scene.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace Util {
class IObserver;
}

namespace Core {

namespace Operations {
class Operation;
class IOperationFactory;
}

// The model of one document: its scene, the current operation, the input channel, the
// selection, undo and redo, and the per-volume history. Everything here runs on the user
// interface thread; the selection state and the scene have mutexes because the view reads
// them while it paints.
class ApplicationModel {
public:
    ApplicationModel();
    ~ApplicationModel();

    ApplicationModel(const ApplicationModel &) = delete;
    ApplicationModel &operator=(const ApplicationModel &) = delete;

    // Cancels the current operation, creates the one of `id` and executes it; an id without
    // an operation only cancels.
    void startOperation(uint32_t id);
    // Makes `op` current and executes it, as startOperation does with a factory-made one.
    void startOperation(std::shared_ptr<Operations::Operation> op);
    // The current operation completed: an undoable one goes on the undo stack. The selection
    // is cleared and the view refreshed.
    void operationFinished();
    // The current operation ended without anything to undo (plain operations, cancels).
    void operationEnded();
    // Calls the current operation's cancel, if there is one.
    void cancelCurrent();

    // Changes made since the document last matched its file, kept as a count of changes compared
    // with the count at the last save or open. Every finished operation that alters the document
    // counts (see Operations::altersDocument), and so does every undo, redo, batch step and
    // catalogue edit. Undoing back to the saved state still counts as a change: the count says
    // "something happened since the save", not "the cells differ from the file". Batch steps
    // mark from their worker thread, hence the atomic count.
    void markModified() { modifications.fetch_add(1); }
    // The document now matches its file: just saved, just opened, or new and empty.
    void markUnmodified() { unmodifiedAt = modifications.load(); }
    bool isModified() const { return modifications.load() != unmodifiedAt; }

    void addUpdateObserver(std::shared_ptr<Util::IObserver> observer);
    void notifyUpdateObservers();

    std::shared_ptr<Operations::Operation> currentOperation() const { return current; }
    Operations::InputRequest &inputRequest() { return input; }
    Model::Scene &scene() { return documentScene; }
    Operations::UndoRedoStack &undoRedo() { return undoRedoStack; }
    Operations::SelectionMode &selectionMode() { return selection; }
    Operations::SelectionState &selectionState() { return state; }
    VolumeHistory &volumeHistory() { return history; }
    Model::Persistence::DocumentArchive &documentArchive() { return archive; }

    void setOperationFactory(std::shared_ptr<Operations::IOperationFactory> factory);
    std::shared_ptr<Operations::IOperationFactory> operationFactory() const { return factory; }

    void clearPreview() { state.clearPreview(); }
    void setMovePreview(Operations::Operation *owner, const Util::Vector3D *start, const Util::Vector3D *end,
                        const Util::Vector3D *displacement = nullptr)
    {
        state.setMovePreview(owner, start, end, displacement);
    }
    void setLinePreview(Operations::Operation *owner, const Util::Vector3D *start, const Util::Vector3D *end)
    {
        state.setLinePreview(owner, start, end);
    }
    QList<std::shared_ptr<Model::Object>> selectedObjects() const { return state.selectedObjects(); }
    void publishSelection(const QList<std::shared_ptr<Model::Object>> &objects) { state.publishSelection(objects); }

private:
    void endCurrent(bool pushOnUndoStack);

    std::shared_ptr<Operations::Operation> current;
    // The operation that ended last. It is kept alive until the next one ends, because it
    // usually ends from inside one of its own member functions.
    std::shared_ptr<Operations::Operation> retired;
    Operations::InputRequest input;
    Operations::SelectionState state;
    Model::Scene documentScene;
    Operations::UndoRedoStack undoRedoStack;
    std::vector<std::shared_ptr<Util::IObserver>> updateObservers;
    Operations::SelectionMode selection;
    Model::Persistence::DocumentArchive archive;
    VolumeHistory history;
    std::shared_ptr<Operations::IOperationFactory> factory;
    std::atomic<uint64_t> modifications{0};
    uint64_t unmodifiedAt = 0;
};

} // namespace Core
