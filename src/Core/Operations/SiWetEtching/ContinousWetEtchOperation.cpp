#include "ContinousWetEtchOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiWetEtching/ContinuousWetEtching.h"
#include "Core/Operations/SiWetEtching/SiLatticeUpkeep.h"

#include <QString>

namespace Core {
namespace Operations {

ContinousWetEtchOperation::ContinousWetEtchOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "Continuous Wet Etch", SiWetEtchingCcaId, "Operation canceled.")
{
}

void ContinousWetEtchOperation::setEtchDepth(double depth)
{
    etchDepth = depth;
    depthSet = true;
}

void ContinousWetEtchOperation::finish()
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
            etchSiContinuous(*volume, etchDepth);
            recordSiWetEtch(*volume, model->volumeHistory(), kind());
        },
        false);
}

} // namespace Operations
} // namespace Core
