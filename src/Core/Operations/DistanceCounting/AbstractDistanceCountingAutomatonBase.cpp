#include "AbstractDistanceCountingAutomatonBase.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace Core {
namespace Operations {

constexpr int AbstractDistanceCountingAutomatonBase::kNeighbourOffsets[kNeighbourCount][3];
unsigned AbstractDistanceCountingAutomatonBase::stepsToCover(double distance, double smallestCellLength)
{
    const double steps = std::ceil(std::sqrt(3.0) * distance / smallestCellLength);
    if (!(steps > 0.0)) // also NaN
        return 0u;
    if (steps >= double(std::numeric_limits<unsigned>::max()))
        return std::numeric_limits<unsigned>::max();
    return unsigned(steps);
}

float AbstractDistanceCountingAutomatonBase::smallestCellLength(const Model::Automaton::TotalVolume &volume)
{
    return std::min({volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()});
}

AbstractDistanceCountingAutomatonBase::CellLengths
AbstractDistanceCountingAutomatonBase::cellLengthsOf(const Model::Automaton::TotalVolume &volume)
{
    return CellLengths{volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()};
}

namespace {

void sortUnique(std::vector<uint32_t> &set)
{
    std::sort(set.begin(), set.end());
    set.erase(std::unique(set.begin(), set.end()), set.end());
}

using IndexSet = AbstractDistanceCountingAutomatonBase::IndexSet;

// One ascending run of next-front cells: a hand-over set, or the neighbours in one direction of
// a slab's changes. Changes are recorded while the front is walked in ascending order and a
// direction adds the same distance to every index, so the neighbours ascend too, without
// repeats. Merging these runs costs a few passes over the changes instead of a sort.
class FrontRun {
public:
    static constexpr uint64_t kEnd = std::numeric_limits<uint64_t>::max();

    FrontRun() = default;
    explicit FrontRun(const IndexSet &set) : index(set.data()), indexEnd(set.data() + set.size()) { settle(); }
    FrontRun(const std::vector<CellChange> &changes, unsigned direction, int64_t distance)
        : change(changes.data()), changeEnd(changes.data() + changes.size()), fromChanges(true),
          bit(uint8_t(1u << direction)), distance(distance)
    {
        settle();
    }

    uint64_t head() const { return current; }
    void advance()
    {
        if (fromChanges)
            ++change;
        else
            ++index;
        settle();
    }

private:
    void settle()
    {
        if (!fromChanges) {
            current = index != indexEnd ? *index : kEnd;
            return;
        }
        while (change != changeEnd && !(change->reaches & bit))
            ++change;
        current = change != changeEnd ? uint64_t(int64_t(change->index) + distance) : kEnd;
    }

    const uint32_t *index = nullptr;
    const uint32_t *indexEnd = nullptr;
    const CellChange *change = nullptr;
    const CellChange *changeEnd = nullptr;
    bool fromChanges = false;
    uint8_t bit = 0;
    int64_t distance = 0;
    uint64_t current = kEnd;
};

// The union of the runs, ascending and without repeats, into `out`.
void mergeRuns(FrontRun *runs, size_t count, IndexSet &out)
{
    out.clear();
    for (;;) {
        size_t lowest = 0;
        for (size_t r = 1; r < count; ++r)
            if (runs[r].head() < runs[lowest].head())
                lowest = r;
        const uint64_t index = runs[lowest].head();
        if (index == FrontRun::kEnd)
            return;
        if (out.empty() || out.back() != index)
            out.push_back(uint32_t(index));
        runs[lowest].advance();
    }
}

} // namespace

AbstractDistanceCountingAutomatonBase::AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume,
                                                                             IndexSet targetMaterials)
    : AbstractDistanceCountingAutomatonBase(volume, std::move(targetMaterials), cellLengthsOf(volume))
{
}

AbstractDistanceCountingAutomatonBase::AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume,
                                                                             IndexSet targetMaterials,
                                                                             CellLengths lengths)
    : AbstractDistanceCountingAutomatonBase(volume, std::move(targetMaterials), lengths, StepSigns::FollowOffset)
{
}

AbstractDistanceCountingAutomatonBase::AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume,
                                                                             IndexSet targetMaterials,
                                                                             CellLengths lengths, StepSigns signs)
    : volume(volume),
      slabs(Util::splitRemainderOverFirstSlabs(volume.sizeX(), Util::slabThreadCount())),
      targetMaterials(std::move(targetMaterials)),
      sizeX(volume.sizeX()),
      sizeY(volume.sizeY()),
      sizeZ(volume.sizeZ()),
      planeSize(volume.sizeY() * volume.sizeZ())
{
    sortUnique(this->targetMaterials);
    const float cellSize[3] = {lengths.x, lengths.y, lengths.z};
    for (unsigned k = 0; k < kNeighbourCount; ++k) {
        const int *offset = kNeighbourOffsets[k];
        float sign[3];
        for (int axis = 0; axis < 3; ++axis)
            sign[axis] = signs == StepSigns::AlwaysPositive ? float(std::abs(offset[axis])) : float(offset[axis]);
        neighbourSteps[k] = Step{sign[0] * cellSize[0], sign[1] * cellSize[1], sign[2] * cellSize[2]};
        neighbourDistance[k] = int64_t(offset[0]) * planeSize + int64_t(offset[1]) * sizeZ + offset[2];
    }
    const size_t slabCount = slabs.size();
    fronts.resize(slabCount);
    lowerHandOver.resize(slabCount);
    upperHandOver.resize(slabCount);
    slabLocks.reset(new std::mutex[slabCount]);
    pendingChanges.resize(slabCount);
    reachedInSlab.resize(slabCount);
    interiorBegin.resize(slabCount);
    interiorEnd.resize(slabCount);
    evaluated.resize(slabCount);
}

AbstractDistanceCountingAutomatonBase::~AbstractDistanceCountingAutomatonBase() = default;

bool AbstractDistanceCountingAutomatonBase::isTarget(uint32_t material) const
{
    return std::binary_search(targetMaterials.begin(), targetMaterials.end(), material);
}

void AbstractDistanceCountingAutomatonBase::run(unsigned iterations)
{
    runPasses(iterations, FinalPass::Run);
}

void AbstractDistanceCountingAutomatonBase::runPasses(unsigned iterations, FinalPass finalPass,
                                                      const SlabPass &prepare)
{
    const Model::Automaton::CellLock lock(volume);
    cells = lock.cells();
    if (prepare)
        Util::runSlabs(slabs, [&prepare](size_t k, Util::Slab bounds) { prepare(bounds, unsigned(k)); });
    Util::runSlabs(slabs, [this](size_t k, Util::Slab bounds) { initializeSlab(bounds, unsigned(k)); });
    propagationSteps(iterations);
    if (finalPass == FinalPass::Run)
        Util::runSlabs(slabs, [this](size_t k, Util::Slab bounds) { finalizeSlab(bounds, unsigned(k)); });
    cells = nullptr;
}

void AbstractDistanceCountingAutomatonBase::propagationSteps(unsigned iterations)
{
    for (unsigned step = 0; step < iterations; ++step) {
        // A step with every front empty changes nothing and leaves the fronts empty, so the
        // remaining steps would be no-ops too; stopping here keeps a huge thickness cheap.
        bool idle = true;
        for (size_t k = 0; k < fronts.size(); ++k)
            idle = idle && fronts[k].empty();
        if (idle)
            break;
        Util::runSlabs(slabs, [this](size_t k, Util::Slab bounds) { stepSlab(bounds, unsigned(k)); });
        Util::runSlabs(slabs, [this](size_t k, Util::Slab) { commitSlab(unsigned(k)); });
    }
}

void AbstractDistanceCountingAutomatonBase::initializeSlab(Util::Slab bounds, unsigned slab)
{
    fronts[slab].clear();
    const uint32_t end = bounds.end * planeSize;
    for (uint32_t index = bounds.begin * planeSize; index < end; ++index)
        initializeCell(index, slab);
}

void AbstractDistanceCountingAutomatonBase::stepSlab(Util::Slab bounds, unsigned slab)
{
    std::lock_guard<std::mutex> guard(slabLocks[slab]);
    upperHandOver[slab].clear();
    lowerHandOver[slab].clear();
    pendingChanges[slab].clear();
    for (uint32_t index : fronts[slab])
        updateCell(index, slab);
    evaluated[slab] += fronts[slab].size();

    // Merged here rather than at the barrier, so that the changes are read back by the thread
    // that has just written them, while they are still in its cache.
    std::array<FrontRun, kNeighbourCount> runs;
    for (unsigned k = 0; k < kNeighbourCount; ++k)
        runs[k] = FrontRun(pendingChanges[slab], k, neighbourDistance[k]);
    mergeRuns(runs.data(), runs.size(), reachedInSlab[slab]);

    // The other slabs read no deeper into this one than its first and last planes, so the
    // changes between them may be applied as soon as this slab has read its own cells; only
    // the border planes must wait for the barrier. Changes ascend, so those are a prefix and
    // a suffix of the list.
    const std::vector<CellChange> &changes = pendingChanges[slab];
    const auto onFirstPlane = [&](const CellChange &change) { return xOf(change.index) == bounds.begin; };
    const auto beforeLastPlane = [&](const CellChange &change) { return xOf(change.index) + 1 < bounds.end; };
    const auto interior = std::partition_point(changes.begin(), changes.end(), onFirstPlane);
    interiorBegin[slab] = size_t(interior - changes.begin());
    interiorEnd[slab] = size_t(std::partition_point(interior, changes.end(), beforeLastPlane) - changes.begin());
    applyChanges(changes.data() + interiorBegin[slab], changes.data() + interiorEnd[slab]);
}

void AbstractDistanceCountingAutomatonBase::commitSlab(unsigned slab)
{
    {
        std::array<FrontRun, 3> runs;
        size_t count = 0;
        runs[count++] = FrontRun(reachedInSlab[slab]);
        // The neighbours' hand-overs are read under their slab locks, lower slab first.
        std::unique_lock<std::mutex> below;
        std::unique_lock<std::mutex> above;
        if (slab > 0) {
            below = std::unique_lock<std::mutex>(slabLocks[slab - 1]);
            if (!upperHandOver[slab - 1].empty())
                runs[count++] = FrontRun(upperHandOver[slab - 1]);
        }
        if (slab + 1 < slabs.size()) {
            above = std::unique_lock<std::mutex>(slabLocks[slab + 1]);
            if (!lowerHandOver[slab + 1].empty())
                runs[count++] = FrontRun(lowerHandOver[slab + 1]);
        }
        if (count == 1)
            fronts[slab].swap(reachedInSlab[slab]);
        else
            mergeRuns(runs.data(), count, fronts[slab]);
    }
    const std::vector<CellChange> &changes = pendingChanges[slab];
    applyChanges(changes.data(), changes.data() + interiorBegin[slab]);
    applyChanges(changes.data() + interiorEnd[slab], changes.data() + changes.size());
}

void AbstractDistanceCountingAutomatonBase::finalizeSlab(Util::Slab bounds, unsigned slab)
{
    fronts[slab].clear();
    const uint32_t end = bounds.end * planeSize;
    for (uint32_t index = bounds.begin * planeSize; index < end; ++index)
        finalizeCell(index, slab);
}

void AbstractDistanceCountingAutomatonBase::applyChanges(const CellChange *begin, const CellChange *end)
{
    for (const CellChange *change = begin; change != end; ++change) {
        Model::Automaton::Cell &cell = cells[change->index];
        cell.setMaterial(change->material);
        cell.setV(change->vx, change->vy, change->vz);
    }
}

unsigned AbstractDistanceCountingAutomatonBase::neighbours(
    uint32_t index, uint32_t (&neighbourIndex)[kNeighbourCount]) const
{
    const uint32_t x = index / planeSize;
    const uint32_t inPlane = index - x * planeSize;
    const uint32_t y = inPlane / sizeZ;
    const uint32_t z = inPlane - y * sizeZ;
    unsigned inside = 0;
    if (z > 0) {
        neighbourIndex[0] = index - 1;
        inside |= 1u << 0;
    }
    if (z + 1 < sizeZ) {
        neighbourIndex[1] = index + 1;
        inside |= 1u << 1;
    }
    if (y > 0) {
        neighbourIndex[2] = index - sizeZ;
        inside |= 1u << 2;
    }
    if (y + 1 < sizeY) {
        neighbourIndex[3] = index + sizeZ;
        inside |= 1u << 3;
    }
    if (x > 0) {
        neighbourIndex[4] = index - planeSize;
        inside |= 1u << 4;
    }
    if (x + 1 < sizeX) {
        neighbourIndex[5] = index + planeSize;
        inside |= 1u << 5;
    }
    return inside;
}

unsigned AbstractDistanceCountingAutomatonBase::collectNeighbours(uint32_t index, unsigned slab)
{
    const Util::Slab bounds = slabs[slab];
    unsigned reaches = 0;
    uint32_t around[kNeighbourCount];
    const unsigned inside = neighbours(index, around);
    for (unsigned k = 0; k < kNeighbourCount; ++k) {
        if (!(inside >> k & 1u))
            continue;
        const uint32_t other = around[k];
        if (!isTarget(cells[other].material()))
            continue;
        const uint32_t x = xOf(other);
        if (x >= bounds.end)
            upperHandOver[slab].push_back(other);
        else if (x < bounds.begin)
            lowerHandOver[slab].push_back(other);
        else
            reaches |= 1u << k;
    }
    return reaches;
}

void AbstractDistanceCountingAutomatonBase::changeIfCloser(uint32_t index, float limitSquared, uint32_t material,
                                                           unsigned slab)
{
    float vx, vy, vz;
    if (!shortestCandidate(index, limitSquared, vx, vy, vz))
        return;
    const unsigned reaches = collectNeighbours(index, slab);
    pendingChanges[slab].push_back(CellChange{index, material, vx, vy, vz, uint8_t(reaches)});
}

bool AbstractDistanceCountingAutomatonBase::shortestCandidate(
    uint32_t index, float limitSquared, float &vx, float &vy, float &vz) const
{
    const Model::Automaton::Cell &cell = cells[index];
    float best = cell.vx() * cell.vx() + cell.vy() * cell.vy() + cell.vz() * cell.vz();
    bool taken = false;
    uint32_t around[kNeighbourCount];
    const unsigned inside = neighbours(index, around);
    for (unsigned k = 0; k < kNeighbourCount; ++k) {
        if (!(inside >> k & 1u))
            continue;
        const Model::Automaton::Cell &from = cells[around[k]];
        const float cx = from.vx() + neighbourSteps[k].x;
        const float cy = from.vy() + neighbourSteps[k].y;
        const float cz = from.vz() + neighbourSteps[k].z;
        const float lengthSquared = cx * cx + cy * cy + cz * cz;
        if (lengthSquared < best && lengthSquared <= limitSquared) {
            best = lengthSquared;
            vx = cx;
            vy = cy;
            vz = cz;
            taken = true;
        }
    }
    return taken;
}

uint64_t AbstractDistanceCountingAutomatonBase::evaluatedFrontCells() const
{
    uint64_t sum = 0;
    for (size_t k = 0; k < evaluated.size(); ++k)
        sum += evaluated[k];
    return sum;
}

} // namespace Operations
} // namespace Core
