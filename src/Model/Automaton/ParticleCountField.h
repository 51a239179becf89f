#pragma once

#include <QMetaType>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace Automaton {

// The dopant particles that random-walk doping leaves on a cell volume: seven unsigned 32-bit
// counters per cell, cells in cell-index order. Slots 0 to 5 hold the particles that leave the
// cell in the step under way, towards z + 1, z − 1, y + 1, y − 1, x + 1 and x − 1 (the neighbour
// on the other side gathers them); slot 6 holds the particles that stay. A cell's particle count
// is the sum of its seven counters.
//
// A volume holds its fields as properties (TotalVolume::particleCountField); the counters are
// guarded by that volume's cell lock like the cells themselves.
class ParticleCountField {
public:
    static constexpr uint32_t kSlotsPerCell = 7;
    static constexpr uint32_t kStaySlot = 6;
    // The property names of the fields of the two kinds of dopant.
    static const QString kTypeNName; // "Random Walk Particle Count Type N"
    static const QString kTypePName; // "Random Walk Particle Count Type P"

    // A field of `cellCount` cells, every counter 0.
    explicit ParticleCountField(uint32_t cellCount);

    // The name of the field of the particles that turn cells into `dopedMaterial`: type N for
    // N-doped silicon, type P for every other material.
    static QString nameFor(uint32_t dopedMaterial);

    uint32_t cellCount() const { return cells; }
    // The seven counters of one cell.
    uint32_t *counters(uint32_t cell) { return values.data() + size_t(cell) * kSlotsPerCell; }
    const uint32_t *counters(uint32_t cell) const { return values.data() + size_t(cell) * kSlotsPerCell; }
    // All counters, seven per cell.
    uint32_t *data() { return values.data(); }
    const uint32_t *data() const { return values.data(); }
    size_t counterCount() const { return values.size(); }

    // The sum of the cell's seven counters, in unsigned 32-bit arithmetic.
    uint32_t particleCount(uint32_t cell) const;
    void clear();

    bool operator==(const ParticleCountField &other) const { return values == other.values; }
    bool operator!=(const ParticleCountField &other) const { return !(*this == other); }

private:
    uint32_t cells;
    std::vector<uint32_t> values;
};

} // namespace Automaton
} // namespace Model

// How a field travels in a volume's property map.
Q_DECLARE_METATYPE(std::shared_ptr<Model::Automaton::ParticleCountField>)
