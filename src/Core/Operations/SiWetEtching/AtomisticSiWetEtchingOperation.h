#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

namespace Core {
namespace Operations {

// "BCA Wet Etch": atomistic wet etching of a volume's silicon to a depth. Rebuilds the volume's
// lattice first when its history marks it out of date; not undoable.
class AtomisticSiWetEtchingOperation : public PlainVolumeStepOperation {
public:
    explicit AtomisticSiWetEtchingOperation(ApplicationModel *model);

    void finish() override;

    // Length units down the (100) direction.
    void setDepth(double depth);

private:
    double depth = 0.0;
    bool depthSet = false;
};

} // namespace Operations
} // namespace Core
