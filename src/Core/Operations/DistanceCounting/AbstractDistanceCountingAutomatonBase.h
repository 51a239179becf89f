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
#include <functional>
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
    // Sorted, de-duplicated cell indices (or material identifiers).
    using IndexSet = std::vector<uint32_t>;

    // How many propagation steps reach every cell within `distance` length units of a source.
    // The front moves one face neighbour per step, so a cell at offset (a, b, c) cells needs
    // a + b + c steps, and within a sphere of radius r cells that sum reaches √3·r (the cube
    // diagonal); fewer steps leave three-dimensional corners empty. Clamped to the unsigned
    // range; 0 for a distance of 0 or less.
    static unsigned stepsToCover(double distance, double smallestCellLength);
    // The shortest of the volume's three cell lengths.
    static float smallestCellLength(const Model::Automaton::TotalVolume &volume);

    // The lengths (length units) that one face step along x, y and z counts for.
    struct CellLengths {
        float x;
        float y;
        float z;
    };
    static CellLengths cellLengthsOf(const Model::Automaton::TotalVolume &volume);

    // `targetMaterials`: the materials through which the front may spread.
    AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume, IndexSet targetMaterials);
    virtual ~AbstractDistanceCountingAutomatonBase();

    AbstractDistanceCountingAutomatonBase(const AbstractDistanceCountingAutomatonBase &) = delete;
    AbstractDistanceCountingAutomatonBase &operator=(const AbstractDistanceCountingAutomatonBase &) = delete;

    // Locks the cells, initialises every slab, runs `iterations` propagation steps, runs the
    // final pass and unlocks.
    virtual void run(unsigned iterations);

    // Front cells evaluated over the whole run (summed over slabs and steps).
    uint64_t evaluatedFrontCells() const;

protected:
    // Distances measured with `lengths` in place of the volume's cell lengths: a weighted
    // distance, for steps whose growth prefers a direction.
    AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume, IndexSet targetMaterials,
                                          CellLengths lengths);
    // How a face step adds to a distance vector: along the neighbour's offset, so the vector
    // points from the cell to its source; or positive whichever way it goes, so the vector holds
    // the lengths travelled along x, y and z (for sources that stand for a surface on either side).
    enum class StepSigns { FollowOffset, AlwaysPositive };
    AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume, IndexSet targetMaterials,
                                          CellLengths lengths, StepSigns signs);

    enum class FinalPass { Run, Skip };
    using SlabPass = std::function<void(Util::Slab bounds, unsigned slab)>;
    // run(), with or without the final pass. `prepare`, when given, runs over every slab under
    // the same lock before the initialisation, behind a barrier of its own: for automata whose
    // initialisation reads what a pass over whole columns made of the neighbouring cells.
    void runPasses(unsigned iterations, FinalPass finalPass, const SlabPass &prepare = nullptr);

    // Sets the cell's `fixed` flag and distance vector; calls startOnFront when it starts on the front.
    virtual void initializeCell(uint32_t index, unsigned slab) = 0;
    // Evaluates one front cell, typically through changeIfCloser.
    virtual void updateCell(uint32_t index, unsigned slab) = 0;
    virtual void finalizeCell(uint32_t index, unsigned slab) = 0;

    // The cells, valid during run() only.
    Model::Automaton::Cell &cellAt(uint32_t index) { return cells[index]; }
    const Model::Automaton::Cell &cellAt(uint32_t index) const { return cells[index]; }

    // From initializeCell only: the cell is evaluated in the first step. Cells are initialised
    // in ascending order, so the slab's front stays sorted.
    void startOnFront(uint32_t index, unsigned slab) { fronts[slab].push_back(index); }

    // Whether any neighbour inside the volume has a material for which `test` holds.
    template <typename MaterialTest>
    bool anyNeighbourMaterial(uint32_t index, MaterialTest test) const;
    // Whether any neighbour inside the volume has an index for which `test` holds.
    template <typename IndexTest>
    bool anyNeighbour(uint32_t index, IndexTest test) const;
    // Whether any neighbour inside the volume is a cell for which `test` holds.
    template <typename CellTest>
    bool anyNeighbourCell(uint32_t index, CellTest test) const;

    // The shared distance rule: when one of the neighbours' vectors plus one step is strictly
    // shorter than the cell's own vector and its squared length is at most `limitSquared`, the
    // cell becomes `material` with the shortest such vector (first in neighbour order on ties)
    // and its neighbours in the target materials join the next front.
    void changeIfCloser(uint32_t index, float limitSquared, uint32_t material, unsigned slab);

private:
    static constexpr unsigned kNeighbourCount = 6;
    // Face-neighbour offsets (dx, dy, dz) in the order every automaton visits them.
    static constexpr int kNeighbourOffsets[kNeighbourCount][3] = {
        {0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}};

    struct Step {
        float x;
        float y;
        float z;
    };

    void initializeSlab(Util::Slab bounds, unsigned slab);
    // Phase 1 of a step: evaluates the slab's front against the cells as they were when the
    // step began; writes only the slab's change list, the cells it reaches and hand-over sets,
    // then applies the changes that lie off its border planes (no other slab reads those).
    void stepSlab(Util::Slab bounds, unsigned slab);
    // Phase 2 of a step, after every slab finished phase 1: merges the cells the slab reached
    // with the neighbours' hand-overs into its next front and applies the border changes.
    void commitSlab(unsigned slab);
    void finalizeSlab(Util::Slab bounds, unsigned slab);
    void propagationSteps(unsigned iterations);
    void applyChanges(const CellChange *begin, const CellChange *end);

    // The shortest candidate of the distance rule; false when none qualifies.
    bool shortestCandidate(uint32_t index, float limitSquared, float &vx, float &vy, float &vz) const;
    // The neighbours of a changed cell that may change next: those in the next slab down or
    // up go into its hand-over set, those in the cell's own slab are returned as bits (bit k
    // for neighbour k) for the change to carry.
    unsigned collectNeighbours(uint32_t index, unsigned slab);
    // The indices of the cell's six neighbours in table order; bit k of the result is set when
    // neighbour k lies inside the volume (the other entries are left unset).
    unsigned neighbours(uint32_t index, uint32_t (&neighbourIndex)[kNeighbourCount]) const;
    bool isTarget(uint32_t material) const;
    uint32_t xOf(uint32_t index) const { return index / planeSize; }

    Model::Automaton::TotalVolume &volume;
    const std::vector<Util::Slab> slabs;
    PerSlab<IndexSet> fronts;
    PerSlab<IndexSet> lowerHandOver;
    PerSlab<IndexSet> upperHandOver;
    std::unique_ptr<std::mutex[]> slabLocks;
    PerSlab<std::vector<CellChange>> pendingChanges;
    IndexSet targetMaterials;
    uint32_t sizeX;
    uint32_t sizeY;
    uint32_t sizeZ;
    uint32_t planeSize;
    // Step k: offset k of kNeighbourOffsets times the cell lengths (length units).
    std::array<Step, kNeighbourCount> neighbourSteps{};
    // Index distance to each face neighbour, in neighbour order.
    std::array<int64_t, kNeighbourCount> neighbourDistance{};
    Model::Automaton::Cell *cells = nullptr;

    // Per slab, the cells its step's changes reach inside the slab: the next front but for the
    // hand-overs, which the barrier adds.
    PerSlab<IndexSet> reachedInSlab;
    // Per slab, the changes [interiorBegin, interiorEnd) off its border planes, applied during
    // the step; the rest are applied at the barrier.
    PerSlab<size_t> interiorBegin;
    PerSlab<size_t> interiorEnd;
    PerSlab<uint64_t> evaluated;
};

template <typename MaterialTest>
bool AbstractDistanceCountingAutomatonBase::anyNeighbourMaterial(uint32_t index, MaterialTest test) const
{
    return anyNeighbour(index, [&](uint32_t neighbour) { return test(cells[neighbour].material()); });
}

template <typename CellTest>
bool AbstractDistanceCountingAutomatonBase::anyNeighbourCell(uint32_t index, CellTest test) const
{
    return anyNeighbour(index, [&](uint32_t neighbour) { return test(cells[neighbour]); });
}

template <typename IndexTest>
bool AbstractDistanceCountingAutomatonBase::anyNeighbour(uint32_t index, IndexTest test) const
{
    uint32_t around[kNeighbourCount];
    const unsigned inside = neighbours(index, around);
    for (unsigned k = 0; k < kNeighbourCount; ++k)
        if ((inside >> k & 1u) && test(around[k]))
            return true;
    return false;
}

} // namespace Operations
} // namespace Core
