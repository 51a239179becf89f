#include "AbstractDistanceCountingAutomatonNoFinalize.h"

namespace Core {
namespace Operations {

void AbstractDistanceCountingAutomatonNoFinalize::run(unsigned iterations)
{
    runPasses(iterations, FinalPass::Skip);
}

} // namespace Operations
} // namespace Core
