#include "LatticeWetEtchOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/SiWetEtching/SiLatticeUpkeep.h"

#include <QString>

namespace Core {
namespace Operations {

LatticeWetEtchOperation::LatticeWetEtchOperation(ApplicationModel *model, const char *name, uint32_t kind)
    : PlainVolumeStepOperation(model, name, kind, "Operation canceled.")
{
}

void LatticeWetEtchOperation::setDepth(double newDepth)
{
    depth = newDepth;
    depthSet = true;
}

void LatticeWetEtchOperation::finish()
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
            etch(*volume, depth);
            recordSiWetEtch(*volume, model->volumeHistory(), kind());
        },
        false);
}

} // namespace Operations
} // namespace Core
