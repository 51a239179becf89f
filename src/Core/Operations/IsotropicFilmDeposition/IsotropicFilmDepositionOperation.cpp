#include "IsotropicFilmDepositionOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

#include <QDebug>
#include <QElapsedTimer>

namespace Core {
namespace Operations {

namespace {
constexpr uint32_t kSiliconMaterial = 1; // a step that may change silicon invalidates its lattice
}

IsotropicFilmDepositionOperation::IsotropicFilmDepositionOperation(
    ApplicationModel *model, std::string name, uint32_t processId)
    : ObjectOperation(model, std::move(name), IsotropicDepositionId),
      process(processId),
      snapshot("IsotropicDeposition")
{
}

void IsotropicFilmDepositionOperation::execute()
{
    chooseVolumeThenFinish();
}

void IsotropicFilmDepositionOperation::cancel()
{
    cancelWithMessage();
}

void IsotropicFilmDepositionOperation::setThickness(float value)
{
    thickness = value;
    thicknessSet = true;
}

void IsotropicFilmDepositionOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void IsotropicFilmDepositionOperation::finish()
{
    if (!volume || !thicknessSet || !materialSet) {
        cancel();
        return;
    }
    snapshot.recordBefore(*model, *volume);

    QElapsedTimer timer;
    timer.start();
    {
        IsotropicFilmDeposition automaton(*volume, materialId, thickness);
        automaton.run(IsotropicFilmDeposition::stepCount(
            thickness, AbstractDistanceCountingAutomatonBase::smallestCellLength(*volume)));
    }
    qDebug() << __FILE__ << Q_FUNC_INFO << "deposition took" << timer.elapsed() << "ms";

    volume->painter().rebuild();
    snapshot.recordAfter(*model, *volume);
    model->volumeHistory().setLastStep(volume->objectId(), kind());
    if (materialId == kSiliconMaterial)
        model->volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    model->notifyUpdateObservers();
    postMessage("Operation finished.");
    model->operationFinished();
}

bool IsotropicFilmDepositionOperation::undo()
{
    if (volume)
        snapshot.restoreUndo(*model, *volume);
    return true;
}

bool IsotropicFilmDepositionOperation::redo()
{
    if (volume)
        snapshot.restoreRedo(*model, *volume);
    return true;
}

} // namespace Operations
} // namespace Core
