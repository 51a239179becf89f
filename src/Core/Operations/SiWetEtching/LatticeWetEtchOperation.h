#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

// The shape both silicon wet etches share: the chosen volume's lattice is rebuilt first when its
// history marks it out of date (a volume the lattice does not fit is refused with the reason),
// then the etch runs, and the history records that the lattice is current again. Not undoable.
class LatticeWetEtchOperation : public PlainVolumeStepOperation {
public:
    void finish() override;

    // Length units down the (100) direction.
    void setDepth(double depth);

protected:
    LatticeWetEtchOperation(ApplicationModel *model, const char *name, uint32_t kind);

private:
    // Runs the etch on the volume's current lattice.
    virtual void etch(Model::Automaton::TotalVolume &volume, double depth) = 0;

    double depth = 0.0;
    bool depthSet = false;
};

} // namespace Operations
} // namespace Core
