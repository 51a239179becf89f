#pragma once

#include "Engine/ProcessData.h"

#include <QString>
#include <functional>
#include <memory>

namespace Core {
class ApplicationModel;
}
namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Engine {

// The result codes of one step of a process list.
enum StepResult : int {
    StepSucceeded = 0,
    StepMissingParameter = 1,
    StepInvalidParameter = 2,
    StepUnknownProcess = 3,
    StepNotImplemented = 4,
};

// The text of a result code; every code outside the table reads as an unknown process.
QString stepResultText(int code);

// Refreshes the view of the run volume and saves its picture into `filename`; returns an empty
// string on success, otherwise why the image could not be saved. The dialog sends this to the
// interface thread with a blocking queued call; the command-line runner renders offscreen.
using ImageSaver = std::function<QString(const QString &filename)>;

// What one step runs with.
struct StepContext {
    const ProcessData &step;
    // The volume the step acts on; empty until a "Create Substrate" step sets it.
    std::shared_ptr<Model::Automaton::TotalVolume> &volume;
    Core::ApplicationModel &model;
    ImageSaver saveImage;
    // Filled by a runner that fails for a reason its code does not tell (an image that could
    // not be saved), for the log and the command-line runner's error output.
    QString detail;
};

// Runs one step on the context's volume with the process's automaton, without any dialog, and
// records it in the model's volume history as the interactive operation does. Holds the
// volume's cell lock while the automaton runs.
int runStep(StepContext &context);

} // namespace Engine
