#pragma once

#include <QMap>
#include <cstdint>

namespace Core {

// Per cell volume (keyed by objectId): the operation id of the last process step applied to it,
// and whether its silicon lattice is out of date (an absent entry counts as out of date).
class VolumeHistory {
public:
    void setLastStep(int objectId, uint32_t operationId) { lastSteps.insert(objectId, operationId); }
    // 0 when no step was recorded.
    uint32_t lastStep(int objectId) const { return lastSteps.value(objectId, 0); }
    bool hasLastStep(int objectId) const { return lastSteps.contains(objectId); }

    void setLatticeOutOfDate(int objectId, bool outOfDate) { latticeFlags.insert(objectId, outOfDate); }
    bool isLatticeOutOfDate(int objectId) const { return latticeFlags.value(objectId, true); }

    void clear()
    {
        lastSteps.clear();
        latticeFlags.clear();
    }

private:
    QMap<int, uint32_t> lastSteps;
    QMap<int, bool> latticeFlags;
};

} // namespace Core
