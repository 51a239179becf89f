#pragma once

#include "Model/Automaton/TotalVolume.h"

namespace Model {
namespace Automaton {

// Holds a volume's cells locked for changing them for its own lifetime, so that every way out
// of a run (a return, an exception such as running out of memory) unlocks them. Taking it counts
// as a change of the cells (TotalVolume::cellChangeCount); readers take a CellReadLock instead.
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
