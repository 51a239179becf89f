#pragma once

// Keeping a volume's silicon lattice in step with its cells between process steps. Steps that may
// change silicon mark the lattice out of date in the volume history; the silicon wet etches
// rebuild it before they run and mark it current after.

#include <QString>
#include <cstdint>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {

class VolumeHistory;

namespace Operations {

// Builds the volume's lattice when the history says it is out of date (a volume without an entry
// counts as out of date) or when it has none. False, and `why`, when it would not fit in memory.
bool refreshSiLatticeIfOutOfDate(Model::Automaton::TotalVolume &volume, const VolumeHistory &history,
                                 QString *why = nullptr);

// After a wet etch: the step was the last one applied, and the lattice matches the cells.
void recordSiWetEtch(Model::Automaton::TotalVolume &volume, VolumeHistory &history, uint32_t operationId);

} // namespace Operations
} // namespace Core
