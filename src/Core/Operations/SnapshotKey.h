#pragma once

#include <cstdint>
#include <string>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {

class ApplicationModel;

namespace Operations {

// Names one step's pair of material records in the document's undo and redo scratch files:
// the record taken before the step runs (read by undo) and the one taken after (read by redo).
// Instance numbers count per snapshot name across the whole process, so two classes that share
// a name never write records that collide.
class SnapshotKey {
public:
    // Takes the next instance number of `name`, starting at 0.
    explicit SnapshotKey(std::string name);

    const std::string &name() const { return snapshotName; }
    uint32_t instance() const { return instanceNumber; }

    // Append the volume's materials to the undo (before) or redo (after) scratch file.
    void recordBefore(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const;
    void recordAfter(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const;

    // Bring back the recorded materials, rebuild the volume's surfaces and refresh the views. A
    // missing record leaves the cells alone; the result says whether one was found.
    bool restoreUndo(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const;
    bool restoreRedo(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const;

private:
    bool restore(ApplicationModel &model, Model::Automaton::TotalVolume &volume, bool fromUndoFile) const;

    std::string snapshotName;
    uint32_t instanceNumber;
};

} // namespace Operations
} // namespace Core
