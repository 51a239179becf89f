#include "AtomisticSiWetEtchingOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"
#include "Core/Operations/SiWetEtching/SiLatticeUpkeep.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

AtomisticSiWetEtchingOperation::AtomisticSiWetEtchingOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "BCA Wet Etch", SiWetEtchingId, "Operation canceled.")
{
}

void AtomisticSiWetEtchingOperation::setDepth(double newDepth)
{
    depth = newDepth;
    depthSet = true;
}

void AtomisticSiWetEtchingOperation::finish()
{
    if (!volume || !depthSet) {
        cancel();
        return;
    }
    QString why;
    if (!refreshSiLatticeIfOutOfDate(*volume, model->volumeHistory(), &why)) {
        cancelWithMessage(why.toStdString());
        return;
    }
    runAndEnd(
        [this] {
            etchSiAtomistic(*volume, depth);
            recordSiWetEtch(*volume, model->volumeHistory(), kind());
        },
        false);
}

} // namespace Operations
} // namespace Core
