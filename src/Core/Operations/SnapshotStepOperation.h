#pragma once

#include "Core/Operations/ObjectOperation.h"
#include "Core/Operations/SnapshotKey.h"

#include <functional>
#include <string>

namespace Core {
namespace Operations {

// A process step on one chosen cell volume that is undone and redone through snapshot records:
// the volume's materials are recorded before and after the run, and undo and redo read them
// back. Subclasses check their parameters in `finish` and hand their automaton run to
// `runRecorded`.
class SnapshotStepOperation : public ObjectOperation {
public:
    SnapshotStepOperation(ApplicationModel *model, std::string name, uint32_t kind, const std::string &snapshotName);

    // The common volume-choosing step, then the options dialog, then finish.
    void execute() override;
    void cancel() override;
    bool undo() override;
    bool redo() override;

    const SnapshotKey &snapshotKey() const { return snapshot; }

protected:
    // Records the cells, runs the automaton, rebuilds the surfaces, records again, notes the
    // step in the volume's history (and marks its lattice out of date when the step may have
    // changed silicon), then ends the operation with "<name>: Operation finished.".
    void runRecorded(const std::function<void()> &runAutomaton, bool mayChangeSilicon);

private:
    SnapshotKey snapshot;
};

} // namespace Operations
} // namespace Core
