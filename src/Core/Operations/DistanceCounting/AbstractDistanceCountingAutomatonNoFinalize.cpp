#include "AbstractDistanceCountingAutomatonNoFinalize.h"

#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

void AbstractDistanceCountingAutomatonNoFinalize::run(unsigned iterations)
{
    cells = volume.lockCells();
    initialisationPass();
    propagationSteps(iterations);
    volume.unlockCells();
    cells = nullptr;
}

} // namespace Operations
} // namespace Core
