#include "RandomWalkDopingOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDoping.h"
#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

using Model::Automaton::ParticleCountField;

RandomWalkDopingOperation::RandomWalkDopingOperation(ApplicationModel *model)
    : SnapshotStepOperation(model, "Random Walk Doping", RandomWalkDopingId, "RandomWalkDoping"),
      seed(RandomWalkDoping::timeSeed())
{
}

void RandomWalkDopingOperation::setDiffusionCoefficient(double squareMetresPerSecond)
{
    values.diffusionCoefficient = squareMetresPerSecond;
    given |= DiffusionGiven;
}

void RandomWalkDopingOperation::setCellSize(double metres)
{
    values.cellSize = metres;
    given |= CellSizeGiven;
}

void RandomWalkDopingOperation::setTimeStepDuration(double seconds)
{
    values.timeStep = seconds;
    given |= TimeStepGiven;
}

void RandomWalkDopingOperation::setSurfaceConcentration(double perCubicMetre)
{
    values.surfaceConcentration = perCubicMetre;
    given |= ConcentrationGiven;
}

void RandomWalkDopingOperation::setDopingTime(double seconds)
{
    values.dopingTime = seconds;
    given |= TimeGiven;
}

void RandomWalkDopingOperation::setDopingThreshold(double perCubicMetre)
{
    values.threshold = perCubicMetre;
    given |= ThresholdGiven;
}

void RandomWalkDopingOperation::setDopedMaterial(uint32_t id)
{
    values.dopedMaterial = id;
    given |= MaterialGiven;
}

void RandomWalkDopingOperation::finish()
{
    if (!volume || given != AllGiven) {
        cancel();
        return;
    }
    const QString problem = values.problem();
    if (!problem.isEmpty()) {
        cancelWithMessage(problem.toStdString());
        return;
    }
    fieldName = ParticleCountField::nameFor(values.dopedMaterial);
    runRecorded(
        [this] {
            fieldBefore = copyOfField();
            dopeByRandomWalk(*volume, values, seed);
            fieldAfter = copyOfField();
        },
        true);
}

std::shared_ptr<ParticleCountField> RandomWalkDopingOperation::copyOfField() const
{
    const Model::Automaton::CellReadLock lock(*volume);
    const auto field = volume->particleCountField(fieldName);
    return field ? std::make_shared<ParticleCountField>(*field) : nullptr;
}

void RandomWalkDopingOperation::restoreField(const std::shared_ptr<ParticleCountField> &saved)
{
    const Model::Automaton::CellLock lock(*volume);
    if (saved)
        volume->setParticleCountField(fieldName, std::make_shared<ParticleCountField>(*saved));
    else
        volume->removeProperty(fieldName);
}

bool RandomWalkDopingOperation::undo()
{
    const bool undone = SnapshotStepOperation::undo();
    if (volume && !fieldName.isEmpty())
        restoreField(fieldBefore);
    return undone;
}

bool RandomWalkDopingOperation::redo()
{
    const bool redone = SnapshotStepOperation::redo();
    if (volume && !fieldName.isEmpty())
        restoreField(fieldAfter);
    return redone;
}

} // namespace Operations
} // namespace Core
