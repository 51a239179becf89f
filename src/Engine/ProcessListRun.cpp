#include "ProcessListRun.h"

#include "Core/ApplicationModel.h"
#include "Engine/ProcessTypes.h"

#include <QDebug>

namespace Engine {

ProcessListRun::ProcessListRun(Core::ApplicationModel &model, std::shared_ptr<Model::Automaton::TotalVolume> volume)
    : model(model), runVolume(std::move(volume))
{
}

ProcessListRun::Outcome ProcessListRun::run(const QList<ProcessData> &list, std::atomic<unsigned> *completed)
{
    Outcome outcome;
    if (completed)
        completed->store(0);
    for (int index = 0; index < list.size(); ++index) {
        const ProcessData &step = list[index];
        if (!runVolume && step.processType() != CreateSubstrateType) {
            outcome.missingVolume = true;
            break;
        }
        StepContext context{step, runVolume, model, saveImage, QString()};
        const int code = runStep(context);
        model.markModified(); // even a failed step may have changed cells
        if (reportStep)
            reportStep(index, code, context.detail);
        if (code != StepSucceeded) {
            qDebug().noquote() << "Could not run process " + processName(step.processType()) + " : " +
                                      stepResultText(code);
            outcome.failedStep = index;
            outcome.failedCode = code;
            outcome.failedDetail = context.detail;
            break;
        }
        ++outcome.completed;
        if (completed)
            completed->fetch_add(1);
    }
    return outcome;
}

} // namespace Engine
