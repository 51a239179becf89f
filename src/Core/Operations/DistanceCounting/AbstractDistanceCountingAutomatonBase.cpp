#include "AbstractDistanceCountingAutomatonBase.h"

#include "Model/Automaton/TotalVolume.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Core {
namespace Operations {

constexpr int AbstractDistanceCountingAutomatonBase::kNeighbourOffsets[kNeighbourCount][3];
const double AbstractDistanceCountingAutomatonBase::kStepsPerCell = (std::sqrt(2.0) + 1.0) / std::sqrt(2.0);

float AbstractDistanceCountingAutomatonBase::smallestCellLength(const Model::Automaton::TotalVolume &volume)
{
    return std::min({volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()});
}

namespace {

void sortUnique(std::vector<uint32_t> &set)
{
    std::sort(set.begin(), set.end());
    set.erase(std::unique(set.begin(), set.end()), set.end());
}

} // namespace

AbstractDistanceCountingAutomatonBase::AbstractDistanceCountingAutomatonBase(Model::Automaton::TotalVolume &volume)
    : volume(volume),
      threadCount(Util::slabThreadCount()),
      chunkWidth(0),
      sizeX(volume.sizeX()),
      sizeY(volume.sizeY()),
      sizeZ(volume.sizeZ()),
      cellSize{volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()},
      planeSize(volume.sizeY() * volume.sizeZ())
{
    chunkWidth = sizeX / threadCount;
    if (chunkWidth == 0) {
        chunkWidth = sizeX;
        threadCount = 1;
    }
    slabs = Util::splitRemainderOverFirstSlabs(sizeX, threadCount);
    fronts.resize(threadCount);
    lowerHandOver.resize(threadCount);
    upperHandOver.resize(threadCount);
    chunkLocks.reset(new std::mutex[threadCount]);
    pendingChanges.resize(threadCount);
    nextFronts.resize(threadCount);
    evaluated.assign(threadCount, 0);
}

AbstractDistanceCountingAutomatonBase::~AbstractDistanceCountingAutomatonBase() = default;

void AbstractDistanceCountingAutomatonBase::buildNeighbourSteps()
{
    for (unsigned k = 0; k < kNeighbourCount; ++k)
        neighbourSteps[k] = Step{float(kNeighbourOffsets[k][0]) * cellSize.x,
            float(kNeighbourOffsets[k][1]) * cellSize.y, float(kNeighbourOffsets[k][2]) * cellSize.z};
}

bool AbstractDistanceCountingAutomatonBase::isTarget(uint32_t material) const
{
    return std::binary_search(targetMaterials.begin(), targetMaterials.end(), material);
}

void AbstractDistanceCountingAutomatonBase::run(unsigned iterations)
{
    cells = volume.lockCells();
    initialisationPass();
    propagationSteps(iterations);
    finalPass();
    volume.unlockCells();
    cells = nullptr;
}

void AbstractDistanceCountingAutomatonBase::initialisationPass()
{
    sortUnique(targetMaterials);
    Util::runSlabs(slabs, [this](size_t k, Util::Slab slab) { initializeChunk(slab.begin, slab.end, unsigned(k)); });
}

void AbstractDistanceCountingAutomatonBase::propagationSteps(unsigned iterations)
{
    if (iterations > 0)
        queued.assign(size_t(sizeX) * planeSize, 0);
    for (unsigned step = 0; step < iterations; ++step) {
        // A step with every front empty changes nothing and leaves the fronts empty, so the
        // remaining steps would be no-ops too; stopping here keeps a huge thickness cheap.
        const bool idle = std::all_of(fronts.begin(), fronts.end(), [](const IndexSet &f) { return f.empty(); });
        if (idle)
            break;
        Util::runSlabs(slabs, [this](size_t k, Util::Slab slab) { stepChunk(slab.begin, slab.end, unsigned(k)); });
        Util::runSlabs(slabs, [this](size_t k, Util::Slab) { commitChunk(unsigned(k)); });
    }
}

void AbstractDistanceCountingAutomatonBase::finalPass()
{
    Util::runSlabs(slabs, [this](size_t k, Util::Slab slab) { finalizeChunk(slab.begin, slab.end, unsigned(k)); });
}

void AbstractDistanceCountingAutomatonBase::initializeChunk(unsigned firstX, unsigned endX, unsigned chunk)
{
    fronts[chunk].clear();
    const uint32_t first = firstX * planeSize;
    const uint32_t end = endX * planeSize;
    for (uint32_t index = first; index < end; ++index)
        initializeCell(index, chunk);
}

void AbstractDistanceCountingAutomatonBase::stepChunk(unsigned firstX, unsigned endX, unsigned chunk)
{
    std::lock_guard<std::mutex> guard(chunkLocks[chunk]);
    upperHandOver[chunk].clear();
    lowerHandOver[chunk].clear();
    pendingChanges[chunk].clear();
    IndexSet &next = nextFronts[chunk];
    next.clear();
    for (uint32_t index : fronts[chunk])
        queued[index] = 0;
    for (uint32_t index : fronts[chunk])
        updateCell(index, firstX, endX, next, chunk);
    evaluated[chunk] += fronts[chunk].size();
}

void AbstractDistanceCountingAutomatonBase::commitChunk(unsigned chunk)
{
    IndexSet &next = nextFronts[chunk];
    if (chunk > 0) {
        std::lock_guard<std::mutex> guard(chunkLocks[chunk - 1]);
        takeHandOver(upperHandOver[chunk - 1], next);
    }
    if (chunk + 1 < threadCount) {
        std::lock_guard<std::mutex> guard(chunkLocks[chunk + 1]);
        takeHandOver(lowerHandOver[chunk + 1], next);
    }
    applyChanges(chunk);
    sortUnique(next);
    fronts[chunk].swap(next);
}

void AbstractDistanceCountingAutomatonBase::takeHandOver(const IndexSet &handOver, IndexSet &nextFront)
{
    for (uint32_t index : handOver) {
        if (!queued[index]) {
            queued[index] = 1;
            nextFront.push_back(index);
        }
    }
}

void AbstractDistanceCountingAutomatonBase::finalizeChunk(unsigned firstX, unsigned endX, unsigned chunk)
{
    fronts[chunk].clear();
    const uint32_t first = firstX * planeSize;
    const uint32_t end = endX * planeSize;
    for (uint32_t index = first; index < end; ++index)
        finalizeCell(index, chunk);
}

void AbstractDistanceCountingAutomatonBase::applyChanges(unsigned chunk)
{
    for (const CellChange &change : pendingChanges[chunk]) {
        Model::Automaton::Cell &cell = cells[change.index];
        cell.setMaterial(change.material);
        cell.setV(change.vx, change.vy, change.vz);
    }
}

unsigned AbstractDistanceCountingAutomatonBase::neighbours(
    unsigned index, uint32_t (&neighbourIndex)[kNeighbourCount]) const
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

void AbstractDistanceCountingAutomatonBase::collectNeighbours(
    unsigned index, unsigned firstX, unsigned endX, IndexSet &nextFront, unsigned chunk)
{
    uint32_t around[kNeighbourCount];
    const unsigned inside = neighbours(index, around);
    for (unsigned k = 0; k < kNeighbourCount; ++k) {
        if (!(inside >> k & 1u))
            continue;
        const uint32_t other = around[k];
        if (!isTarget(cells[other].material()))
            continue;
        const uint32_t x = xOf(other);
        if (x >= endX)
            upperHandOver[chunk].push_back(other);
        else if (x < firstX)
            lowerHandOver[chunk].push_back(other);
        else if (!queued[other]) {
            queued[other] = 1;
            nextFront.push_back(other);
        }
    }
}

void AbstractDistanceCountingAutomatonBase::changeIfCloser(unsigned index, float limitSquared, uint32_t material,
                                                           unsigned firstX, unsigned endX, IndexSet &nextFront,
                                                           unsigned chunk)
{
    float vx, vy, vz;
    if (!shortestCandidate(index, limitSquared, vx, vy, vz))
        return;
    pendingChanges[chunk].push_back(CellChange{index, material, vx, vy, vz});
    collectNeighbours(index, firstX, endX, nextFront, chunk);
}

bool AbstractDistanceCountingAutomatonBase::shortestCandidate(
    unsigned index, float limitSquared, float &vx, float &vy, float &vz) const
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
    return std::accumulate(evaluated.begin(), evaluated.end(), uint64_t(0));
}

} // namespace Operations
} // namespace Core
