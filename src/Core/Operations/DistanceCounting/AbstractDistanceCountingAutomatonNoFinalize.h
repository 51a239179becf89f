#pragma once

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonBase.h"

#include <utility>

namespace Core {
namespace Operations {

// The distance-counting engine without the final per-cell pass: for automata whose cells are
// settled as soon as the propagation reaches them.
class AbstractDistanceCountingAutomatonNoFinalize : public AbstractDistanceCountingAutomatonBase {
public:
    using AbstractDistanceCountingAutomatonBase::AbstractDistanceCountingAutomatonBase;

    void run(unsigned iterations) override;

protected:
    AbstractDistanceCountingAutomatonNoFinalize(Model::Automaton::TotalVolume &volume, IndexSet targetMaterials,
                                                CellLengths lengths)
        : AbstractDistanceCountingAutomatonBase(volume, std::move(targetMaterials), lengths)
    {
    }

    void finalizeCell(uint32_t, unsigned) override {}
};

} // namespace Operations
} // namespace Core
