#pragma once

#include "Engine/ProcessData.h"
#include "Engine/StepRunner.h"

#include <QList>
#include <atomic>
#include <functional>
#include <memory>

namespace Engine {

// Runs a process list step by step, the way the batch dialog and the command-line runner do:
// it stops before a step other than "Create Substrate" when there is no volume, and at the
// first step that fails. The steps that ran stay applied.
class ProcessListRun {
public:
    struct Outcome {
        int completed = 0;         // steps that succeeded
        int failedStep = -1;       // index of the step that failed, or -1
        int failedCode = StepSucceeded;
        QString failedDetail;      // the runner's detail of the failure, if any
        bool missingVolume = false; // stopped because there was no volume for a step
    };
    // Called after every step that ran: its index, its result code and the runner's detail.
    using StepReport = std::function<void(int index, int code, const QString &detail)>;

    ProcessListRun(Core::ApplicationModel &model, std::shared_ptr<Model::Automaton::TotalVolume> volume);

    void setImageSaver(ImageSaver saver) { saveImage = std::move(saver); }
    void setStepReport(StepReport report) { reportStep = std::move(report); }

    // Runs `list`; `completed`, when given, counts the succeeded steps as they finish (it is
    // read by another thread for the progress bar).
    Outcome run(const QList<ProcessData> &list, std::atomic<unsigned> *completed = nullptr);

    // The volume after the run: a "Create Substrate" step replaces it.
    std::shared_ptr<Model::Automaton::TotalVolume> volume() const { return runVolume; }

private:
    Core::ApplicationModel &model;
    std::shared_ptr<Model::Automaton::TotalVolume> runVolume;
    ImageSaver saveImage;
    StepReport reportStep;
};

} // namespace Engine
