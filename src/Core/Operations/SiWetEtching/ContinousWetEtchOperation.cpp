#include "ContinousWetEtchOperation.h"

#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiWetEtching/ContinuousWetEtching.h"

namespace Core {
namespace Operations {

ContinousWetEtchOperation::ContinousWetEtchOperation(ApplicationModel *model)
    : LatticeWetEtchOperation(model, "Continuous Wet Etch", SiWetEtchingCcaId)
{
}

void ContinousWetEtchOperation::etch(Model::Automaton::TotalVolume &volume, double depth)
{
    etchSiContinuous(volume, depth);
}

} // namespace Operations
} // namespace Core
