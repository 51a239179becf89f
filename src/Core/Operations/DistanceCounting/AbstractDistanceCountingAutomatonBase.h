#pragma once

// Distance counting by vector propagation (a Danielsson-style vector distance transform):
// every cell keeps the vector to its nearest source found so far, and each step offers it its
// six face neighbours' vectors plus one cell step. A subclass decides which cells are sources,
// which may change, how far the front may go, and what a cell becomes once reached.

#include "Core/Operations/DistanceCounting/CellChange.h"
#include "Core/Operations/DistanceCounting/PerSlab.h"
#include "Model/Automaton/Cell.h"
#include "Util/SlabRunner.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

class AbstractDistanceCountingAutomatonBase {
public:
    // Sorted, de-duplicated cell indices.
    using IndexSet = std::vector<uint32_t>;

    struct Step {
        float x;
        float y;
        float z;
    };

    static constexpr unsigned kNeighbourCount = 6;
    // Face-neighbour offsets in the order every automaton visits them.
    static constexpr int kNeighbourOffsets[kNeighbourCount][3] = {
        {0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}};

    explicit AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume);
    virtual ~AbstractDistanceCountingAutomatonBase();

    AbstractDistanceCountingAutomatonBase(const AbstractDistanceCountingAutomatonBase &) = delete;
    AbstractDistanceCountingAutomatonBase &operator=(const AbstractDistanceCountingAutomatonBase &) = delete;

    // Locks the cells, initialises every slab, runs `iterations` propagation steps, runs the
    // final pass and unlocks.
    virtual void run(unsigned iterations);

    // How many steps the front needs per cell of film: a path along the six face neighbours is
    // up to this factor longer than the straight line, (√2 + 1) / √2.
    static const double kStepsPerCell;
    // The shortest of the volume's three cell lengths.
    static float smallestCellLength(const Model::Automaton::TotalVolume &volume);

    // Front cells evaluated over the whole run (summed over slabs and steps).
    uint64_t evaluatedFrontCells() const;
    uint32_t slabCount() const { return threadCount; }

protected:
    virtual void initializeChunk(unsigned firstX, unsigned endX, unsigned chunk);
    // Phase 1 of a step: evaluates the slab's front against the cells as they were when the
    // step began; writes only the slab's change list, the cells it reaches and hand-over sets,
    // then applies the changes that lie off its border planes (no other slab reads those).
    virtual void stepChunk(unsigned firstX, unsigned endX, unsigned chunk);
    // Phase 2 of a step, after every slab finished phase 1: merges the cells the slab reached
    // with the neighbours' hand-overs into its next front and applies the border changes.
    virtual void commitChunk(unsigned chunk);
    virtual void finalizeChunk(unsigned firstX, unsigned endX, unsigned chunk);
    void applyChanges(const CellChange *begin, const CellChange *end);
    // The neighbours of a changed cell that may change next: those in the next slab down or
    // up go into its hand-over set, those in the cell's own slab are returned as bits (bit k
    // for neighbour k) for the change to carry.
    virtual unsigned collectNeighbours(unsigned index, unsigned firstX, unsigned endX, unsigned chunk);

    virtual void initializeCell(unsigned index, unsigned chunk) = 0;
    virtual void updateCell(unsigned index, unsigned firstX, unsigned endX, unsigned chunk) = 0;
    virtual void finalizeCell(unsigned index, unsigned chunk) = 0;

    void initialisationPass();
    void propagationSteps(unsigned iterations);
    void finalPass();

    // The shared distance rule: among the neighbours' vectors plus one step, the shortest one
    // that is strictly shorter than the cell's own vector and whose squared length is at most
    // `limitSquared` (first in neighbour order on ties). False when none qualifies.
    bool shortestCandidate(unsigned index, float limitSquared, float &vx, float &vy, float &vz) const;

    // When the distance rule gives the cell a shorter vector within `limitSquared`, records the
    // change to `material` with that vector and queues the cell's neighbours.
    void changeIfCloser(unsigned index, float limitSquared, uint32_t material, unsigned firstX, unsigned endX,
                        unsigned chunk);

    // The indices of the cell's six neighbours in table order; bit k of the result is set when
    // neighbour k lies inside the volume (the other entries are left unset).
    unsigned neighbours(unsigned index, uint32_t (&neighbourIndex)[kNeighbourCount]) const;
    // Whether any neighbour inside the volume has a material for which `test` holds.
    template <typename MaterialTest>
    bool anyNeighbourMaterial(unsigned index, MaterialTest test) const;
    unsigned xOf(unsigned index) const { return index / planeSize; }

    // Fills neighbourSteps from the cell lengths.
    void buildNeighbourSteps();
    bool isTarget(uint32_t material) const;

    Model::Automaton::TotalVolume &volume;
    uint32_t threadCount;
    uint32_t chunkWidth;
    PerSlab<IndexSet> fronts;
    PerSlab<IndexSet> lowerHandOver;
    PerSlab<IndexSet> upperHandOver;
    std::unique_ptr<std::mutex[]> chunkLocks;
    PerSlab<std::vector<CellChange>> pendingChanges;
    IndexSet targetMaterials;
    uint32_t sizeX;
    uint32_t sizeY;
    uint32_t sizeZ;
    Step cellSize;
    std::array<Step, kNeighbourCount> neighbourSteps{};
    Model::Automaton::Cell *cells = nullptr;

private:
    std::vector<Util::Slab> slabs;
    // Per slab, the cells its step's changes reach inside the slab: the next front but for the
    // hand-overs, which the barrier adds.
    PerSlab<IndexSet> reachedInSlab;
    // Per slab, the changes [interiorBegin, interiorEnd) off its border planes, applied during
    // the step; the rest are applied at the barrier.
    PerSlab<size_t> interiorBegin;
    PerSlab<size_t> interiorEnd;
    // Index distance to each face neighbour, in neighbour order.
    std::array<int64_t, kNeighbourCount> neighbourDistance{};
    PerSlab<uint64_t> evaluated;
    uint32_t planeSize;
};

template <typename MaterialTest>
bool AbstractDistanceCountingAutomatonBase::anyNeighbourMaterial(unsigned index, MaterialTest test) const
{
    uint32_t around[kNeighbourCount];
    const unsigned inside = neighbours(index, around);
    for (unsigned k = 0; k < kNeighbourCount; ++k)
        if ((inside >> k & 1u) && test(cells[around[k]].material()))
            return true;
    return false;
}

} // namespace Operations
} // namespace Core
