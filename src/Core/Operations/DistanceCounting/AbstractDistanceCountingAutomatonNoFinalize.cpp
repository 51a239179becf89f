#include "AbstractDistanceCountingAutomatonNoFinalize.h"

#include "Model/Automaton/CellLock.h"

namespace Core {
namespace Operations {

void AbstractDistanceCountingAutomatonNoFinalize::run(unsigned iterations)
{
    const Model::Automaton::CellLock lock(volume);
    cells = lock.cells();
    initialisationPass();
    propagationSteps(iterations);
    cells = nullptr;
}

} // namespace Operations
} // namespace Core
