#include "SiLatticeUpkeep.h"

#include "Core/VolumeHistory.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

bool refreshSiLatticeIfOutOfDate(Model::Automaton::TotalVolume &volume, const VolumeHistory &history, QString *why)
{
    if (volume.siLattice() && !history.isLatticeOutOfDate(volume.objectId()))
        return true;
    return volume.createSiLattice(why);
}

void recordSiWetEtch(Model::Automaton::TotalVolume &volume, VolumeHistory &history, uint32_t operationId)
{
    history.setLastStep(volume.objectId(), operationId);
    history.setLatticeOutOfDate(volume.objectId(), false);
}

} // namespace Operations
} // namespace Core
