#pragma once

#include "Core/Operations/SiWetEtching/LatticeWetEtchOperation.h"

namespace Core {
namespace Operations {

// "Continuous Wet Etch": the continuous (CCA) wet etch of a chosen volume's silicon lattice; the
// depth sets the etch time (four steps per length unit).
class ContinousWetEtchOperation : public LatticeWetEtchOperation {
public:
    explicit ContinousWetEtchOperation(ApplicationModel *model);

private:
    void etch(Model::Automaton::TotalVolume &volume, double depth) override;
};

} // namespace Operations
} // namespace Core
