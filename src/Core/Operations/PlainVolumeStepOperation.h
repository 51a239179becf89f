#pragma once

#include "Core/Operations/Operation.h"

#include <functional>
#include <string>

namespace Core {
namespace Operations {

// A process step on one chosen cell volume that is not undoable: it chooses the volume, shows
// its options, runs, and finishes without going on the undo stack.
class PlainVolumeStepOperation : public Operation {
public:
    // `cancelText` follows the name and ": " when the step is abandoned.
    PlainVolumeStepOperation(ApplicationModel *model, std::string name, uint32_t kind, std::string cancelText);

    // The common volume-choosing step, then the options dialog, then finish.
    void execute() override;
    void cancel() override;

protected:
    // Runs the automaton, notes the step in the volume's history (and marks its lattice out of
    // date when asked), refreshes the views and ends with "<name>: Operation finished.".
    void runAndEnd(const std::function<void()> &runAutomaton, bool marksLatticeOutOfDate);

private:
    std::string cancelText;
};

} // namespace Operations
} // namespace Core
