#pragma once

#include "Model/Automaton/TotalVolume.h"

namespace Model {
namespace Automaton {

// Holds a volume's cells locked for its own lifetime, so that every way out of a run (a return,
// an exception such as running out of memory in a surface rebuild) unlocks them.
class CellLock {
public:
    explicit CellLock(TotalVolume &volume) : lockedVolume(volume), cellArray(volume.lockCells()) {}
    ~CellLock() { lockedVolume.unlockCells(); }
    CellLock(const CellLock &) = delete;
    CellLock &operator=(const CellLock &) = delete;

    Cell *cells() const { return cellArray; }

private:
    TotalVolume &lockedVolume;
    Cell *cellArray;
};

} // namespace Automaton
} // namespace Model
