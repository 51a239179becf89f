#include "SnapshotKey.h"

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Persistence/SnapshotRecords.h"

#include <QDebug>
#include <map>
#include <mutex>

namespace Core {
namespace Operations {

namespace {

uint32_t nextInstance(const std::string &name)
{
    static std::mutex mutex;
    static std::map<std::string, uint32_t> counters;
    std::lock_guard<std::mutex> guard(mutex);
    return counters[name]++;
}

} // namespace

SnapshotKey::SnapshotKey(std::string name) : snapshotName(std::move(name)), instanceNumber(nextInstance(snapshotName))
{
}

void SnapshotKey::recordBefore(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const
{
    const QString path = model.documentArchive().undoScratchPath();
    if (!Model::Persistence::appendSnapshot(path, snapshotName, instanceNumber, volume))
        qWarning() << __FILE__ << Q_FUNC_INFO << "cannot write the undo record to" << path;
}

void SnapshotKey::recordAfter(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const
{
    const QString path = model.documentArchive().redoScratchPath();
    if (!Model::Persistence::appendSnapshot(path, snapshotName, instanceNumber, volume))
        qWarning() << __FILE__ << Q_FUNC_INFO << "cannot write the redo record to" << path;
}

bool SnapshotKey::restoreUndo(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const
{
    return restore(model, volume, true);
}

bool SnapshotKey::restoreRedo(ApplicationModel &model, Model::Automaton::TotalVolume &volume) const
{
    return restore(model, volume, false);
}

bool SnapshotKey::restore(ApplicationModel &model, Model::Automaton::TotalVolume &volume, bool fromUndoFile) const
{
    const auto &archive = model.documentArchive();
    const QString path = fromUndoFile ? archive.undoScratchPath() : archive.redoScratchPath();
    const bool found = Model::Persistence::restoreSnapshot(path, snapshotName, instanceNumber, volume);
    model.notifyUpdateObservers();
    return found;
}

} // namespace Operations
} // namespace Core
