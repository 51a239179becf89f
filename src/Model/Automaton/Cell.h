#pragma once

#include <cstdint>

namespace Model {
namespace Automaton {

// One cell of a cell volume, stored contiguously in the volume's array. `material` 0 is empty.
// `fixed` and the working vector belong to whichever automaton is running; each automaton
// writes them before it reads them.
class Cell {
public:
    static constexpr uint32_t kMaxCutCount = 255;

    Cell() = default;
    explicit Cell(uint32_t materialId) : materialId(materialId) {}

    uint32_t material() const { return materialId; }
    void setMaterial(uint32_t id) { materialId = id; }

    bool isFixed() const { return fixedFlag != 0; }
    void setFixed(bool on) { fixedFlag = on ? 1 : 0; }

    float vx() const { return wx; }
    float vy() const { return wy; }
    float vz() const { return wz; }
    void setVx(float v) { wx = v; }
    void setVy(float v) { wy = v; }
    void setVz(float v) { wz = v; }
    void setV(float x, float y, float z)
    {
        wx = x;
        wy = y;
        wz = z;
    }

    int32_t atomCount() const { return atoms; }
    void setAtomCount(int32_t n) { atoms = n; }

    // Number of active cuts hiding this cell; saturates at kMaxCutCount and never goes below 0.
    uint32_t cutCount() const { return cuts; }
    void setCutCount(uint32_t n) { cuts = n; }
    void incrementCutCount()
    {
        if (cuts < kMaxCutCount)
            ++cuts;
    }
    void decrementCutCount()
    {
        if (cuts > 0)
            --cuts;
    }
    void resetCutCount() { cuts = 0; }
    bool isCut() const { return cuts > 0; }
    // The material as surfaces show it: a cut cell counts as empty.
    uint32_t uncutMaterial() const { return cuts > 0 ? 0u : materialId; }

private:
    uint32_t materialId = 0;
    uint8_t fixedFlag = 0;
    float wx = 0.0f;
    float wy = 0.0f;
    float wz = 0.0f;
    int32_t atoms = 0;
    uint32_t cuts = 0;
};

// Asks for the cell record a couple of kilobytes ahead of `cell`. Loops that stream the cell
// array call it once per cell: the hardware's own prefetch falls behind on these records. A
// prefetch never faults, so asking beyond the end of the array is harmless.
inline void prefetchAheadOf(const Cell *cell)
{
    constexpr uintptr_t kAhead = 64 * sizeof(Cell);
    __builtin_prefetch(reinterpret_cast<const void *>(reinterpret_cast<uintptr_t>(cell) + kAhead));
}

} // namespace Automaton
} // namespace Model
