#include "AtomisticSiWetEtchingOperation.h"

#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"

namespace Core {
namespace Operations {

AtomisticSiWetEtchingOperation::AtomisticSiWetEtchingOperation(ApplicationModel *model)
    : LatticeWetEtchOperation(model, "BCA Wet Etch", SiWetEtchingId)
{
}

void AtomisticSiWetEtchingOperation::etch(Model::Automaton::TotalVolume &volume, double depth)
{
    etchSiAtomistic(volume, depth);
}

} // namespace Operations
} // namespace Core
