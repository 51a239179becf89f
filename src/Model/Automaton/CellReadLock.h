#pragma once

#include "Model/Automaton/TotalVolume.h"

#include <mutex>

namespace Model {
namespace Automaton {

// Holds a volume's cells locked for reading for its own lifetime. Unlike CellLock it does not
// count as a change of the cells, so the surfaces built from them stay current.
class CellReadLock {
public:
    explicit CellReadLock(TotalVolume &volume) : lockedVolume(volume), cellArray(volume.lockCellsForReading()) {}
    // Takes the cells only when nobody holds them; owns() tells whether it did.
    CellReadLock(TotalVolume &volume, std::try_to_lock_t)
        : lockedVolume(volume), cellArray(volume.tryLockCellsForReading())
    {
    }
    ~CellReadLock()
    {
        if (cellArray)
            lockedVolume.unlockCells();
    }
    CellReadLock(const CellReadLock &) = delete;
    CellReadLock &operator=(const CellReadLock &) = delete;

    bool owns() const { return cellArray != nullptr; }
    const Cell *cells() const { return cellArray; }

private:
    TotalVolume &lockedVolume;
    const Cell *cellArray;
};

} // namespace Automaton
} // namespace Model
