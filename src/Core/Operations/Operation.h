#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Util {
class IObserver;
}
namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {

class ApplicationModel;

namespace Operations {

// Every user action that changes the document is an operation. The application model runs at
// most one at a time. An operation talks to the user only through console messages and input
// requests (InputRequest), selection mode, and its options observer (which opens its dialog).
//
// Life of an operation: `execute` is called when it becomes current and again each time a
// pending input request is satisfied; it ends in `finish` (effect, completion message, then
// ApplicationModel::operationFinished) or in `cancel` (ApplicationModel::operationEnded).
class Operation {
public:
    Operation(ApplicationModel *model, std::string name, uint32_t kind);
    virtual ~Operation();

    Operation(const Operation &) = delete;
    Operation &operator=(const Operation &) = delete;

    virtual void execute() = 0;
    virtual void cancel() = 0;
    virtual void finish() = 0;

    std::string name() const { return operationName; }
    uint32_t kind() const { return operationKind; }

    // The observer whose update opens this operation's options dialog and writes the chosen
    // values back into the operation.
    void setOptionsObserver(std::shared_ptr<Util::IObserver> observer) { options = std::move(observer); }
    std::shared_ptr<Util::IObserver> optionsObserver() const { return options; }

    // Posts "<name>: <text>" on the console.
    void postMessage(const std::string &text);

    // The cell volume chosen by the volume-choosing step, or none yet.
    std::shared_ptr<Model::Automaton::TotalVolume> chosenVolume() const { return volume; }

protected:
    // The volume-choosing step shared by the process steps that act on one cell volume: take
    // the first selected volume, or the scene's only object when it is a volume, then open the
    // options dialog and finish; otherwise prompt and wait for the user to pick and press Enter.
    void chooseVolumeThenFinish();

    // The common way to abandon: forget pending requests, leave selection mode, print
    // "<name>: <cancel text>", end the operation and refresh the view.
    void cancelWithMessage(const std::string &text = "Operation canceled.");

    // Calls the options observer, if any.
    void askForOptions();

    ApplicationModel *model;
    std::shared_ptr<Model::Automaton::TotalVolume> volume;

private:
    void takeVolume(const std::shared_ptr<Model::Automaton::TotalVolume> &chosen);

    std::string operationName;
    uint32_t operationKind;
    std::shared_ptr<Util::IObserver> options;
};

} // namespace Operations
} // namespace Core
