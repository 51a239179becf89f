#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

namespace Core {
namespace Operations {

// "Continuous Wet Etch": the continuous (CCA) wet etch of a chosen volume's silicon lattice,
// rebuilt first when the volume history says it is out of date. Not undoable.
class ContinousWetEtchOperation : public PlainVolumeStepOperation {
public:
    explicit ContinousWetEtchOperation(ApplicationModel *model);

    void finish() override;

    // Etch time as a depth in length units (four steps per unit).
    void setEtchDepth(double depth);

private:
    double etchDepth = 0.0;
    bool depthSet = false;
};

} // namespace Operations
} // namespace Core
