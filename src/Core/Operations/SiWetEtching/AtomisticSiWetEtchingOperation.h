#pragma once

#include "Core/Operations/SiWetEtching/LatticeWetEtchOperation.h"

namespace Core {
namespace Operations {

// "BCA Wet Etch": atomistic wet etching of a volume's silicon to a depth.
class AtomisticSiWetEtchingOperation : public LatticeWetEtchOperation {
public:
    explicit AtomisticSiWetEtchingOperation(ApplicationModel *model);

private:
    void etch(Model::Automaton::TotalVolume &volume, double depth) override;
};

} // namespace Operations
} // namespace Core
