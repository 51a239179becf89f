#include "MooreFront.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <algorithm>
#include <limits>

namespace Core {
namespace Operations {

namespace {

using IndexSet = MooreFront::IndexSet;
constexpr uint64_t kEnd = std::numeric_limits<uint64_t>::max();
constexpr uint32_t kBitsPerWord = 64;
// Front cells lie a column or more apart, each on cache lines of its own: ask for the one this
// many cells ahead while working on the current one.
constexpr size_t kPrefetchDistance = 16; // cells

// Sets `count` (1 to 3) bits from bit `first` on.
void setBits(std::vector<uint64_t> &bits, size_t first, uint32_t count)
{
    const uint64_t run = (uint64_t(1) << count) - 1;
    const size_t word = first / kBitsPerWord;
    const uint32_t shift = uint32_t(first % kBitsPerWord);
    bits[word] |= run << shift;
    if (shift + count > kBitsPerWord)
        bits[word + 1] |= run >> (kBitsPerWord - shift);
}

uint64_t bitOf(uint32_t inPlane)
{
    return uint64_t(1) << (inPlane % kBitsPerWord);
}

// out = a ∪ b ∪ c, each sorted without repeats.
void mergeUnique(const IndexSet &a, const IndexSet *b, const IndexSet *c, IndexSet &out)
{
    out.clear();
    static const IndexSet none;
    const IndexSet &second = b ? *b : none;
    const IndexSet &third = c ? *c : none;
    size_t i = 0, j = 0, k = 0;
    for (;;) {
        const uint64_t x = i < a.size() ? a[i] : kEnd;
        const uint64_t y = j < second.size() ? second[j] : kEnd;
        const uint64_t z = k < third.size() ? third[k] : kEnd;
        const uint64_t least = std::min({x, y, z});
        if (least == kEnd)
            return;
        out.push_back(uint32_t(least));
        i += x == least;
        j += y == least;
        k += z == least;
    }
}

} // namespace

MooreFront::MooreFront(Model::Automaton::TotalVolume &volume, Rule rule)
    : volume(volume),
      rule(rule),
      sizeX(volume.sizeX()),
      sizeY(volume.sizeY()),
      sizeZ(volume.sizeZ()),
      planeSize(volume.sizeY() * volume.sizeZ()),
      planeWords((volume.sizeY() * volume.sizeZ() + kBitsPerWord - 1) / kBitsPerWord),
      slabs(Util::splitWholeBelowMinimumWidth(volume.sizeX(), Util::slabThreadCount(), kMinimumSlabWidth))
{
    sets.resize(slabs.size());
    slabLocks.reset(new std::mutex[slabs.size()]);
    for (size_t k = 0; k < slabs.size(); ++k) {
        const uint32_t firstPlane = slabs[k].begin > 0 ? slabs[k].begin - 1 : 0;
        const uint32_t endPlane = std::min(slabs[k].end + 1, sizeX);
        sets[k].reachFirstPlane = firstPlane;
        sets[k].reached.assign(size_t(endPlane - firstPlane) * planeWords, 0);
    }
    throughBits.assign(size_t(sizeX) * planeWords, 0);
}

MooreFront::~MooreFront() = default;

void MooreFront::run(uint32_t layers)
{
    if (sizeX == 0 || planeSize == 0)
        return;
    const Model::Automaton::CellLock lock(volume);
    cells = lock.cells();
    Util::runSlabs(slabs, [this](size_t k, Util::Slab bounds) { seedSlab(bounds, unsigned(k)); });
    for (uint32_t layer = 0; layer < layers; ++layer) {
        // With every front empty the remaining steps change nothing; stopping keeps a huge
        // layer count as cheap as the layers that still have something to reach.
        bool idle = true;
        for (size_t k = 0; k < slabs.size(); ++k)
            idle = idle && sets[k].front.empty();
        if (idle)
            break;
        Util::runSlabs(slabs, [this](size_t k, Util::Slab bounds) { markSlab(bounds, unsigned(k)); });
        Util::runSlabs(slabs, [this](size_t k, Util::Slab) { changeSlab(unsigned(k)); });
    }
    cells = nullptr;
}

uint64_t MooreFront::evaluatedFrontCells() const
{
    uint64_t sum = 0;
    for (size_t k = 0; k < sets.size(); ++k)
        sum += sets[k].evaluated;
    return sum;
}

void MooreFront::seedingCellsNear(uint32_t x, std::vector<uint8_t> &row, std::vector<uint8_t> &out,
                                  std::vector<uint8_t> &through) const
{
    if (x >= sizeX) { // also x = −1, wrapped
        std::fill(out.begin(), out.end(), uint8_t(0));
        std::fill(through.begin(), through.end(), uint8_t(0));
        return;
    }
    const Model::Automaton::Cell *plane = cells + size_t(x) * planeSize;
    const bool nextToEmpty = rule.seed == Seed::NextToEmpty;
    for (uint32_t i = 0; i < planeSize; ++i) {
        Model::Automaton::prefetchAheadOf(plane + i);
        const uint32_t material = plane[i].material();
        out[i] = uint8_t((material == Model::Materials::kEmptyMaterial) == nextToEmpty);
        through[i] = uint8_t(material == rule.through);
    }
    // Along z within each row, then along y across rows: the 3 × 3 square around each cell.
    for (uint32_t y = 0; y < sizeY; ++y) {
        const uint8_t *in = out.data() + size_t(y) * sizeZ;
        uint8_t *along = row.data() + size_t(y) * sizeZ;
        for (uint32_t z = 0; z < sizeZ; ++z)
            along[z] = uint8_t(in[z] | (z > 0 ? in[z - 1] : 0) | (z + 1 < sizeZ ? in[z + 1] : 0));
    }
    for (uint32_t y = 0; y < sizeY; ++y) {
        const uint8_t *below = y > 0 ? row.data() + size_t(y - 1) * sizeZ : nullptr;
        const uint8_t *at = row.data() + size_t(y) * sizeZ;
        const uint8_t *above = y + 1 < sizeY ? row.data() + size_t(y + 1) * sizeZ : nullptr;
        uint8_t *result = out.data() + size_t(y) * sizeZ;
        for (uint32_t z = 0; z < sizeZ; ++z)
            result[z] = uint8_t(at[z] | (below ? below[z] : 0) | (above ? above[z] : 0));
    }
}

void MooreFront::seedSlab(Util::Slab bounds, unsigned slab)
{
    SlabSets &own = sets[slab];
    own.front.clear();
    if (bounds.begin == bounds.end)
        return;
    // The 3 × 3 × 3 block around a cell is the union of the 3 × 3 squares of its own plane and
    // the planes on either side; each plane's squares are worked out once, while they roll by.
    // The block includes the cell itself, which never passes its own seed test except when
    // etching the empty material, which changes nothing either way.
    std::vector<uint8_t> row(planeSize), previous(planeSize), current(planeSize), following(planeSize);
    std::vector<uint8_t> throughHere(planeSize), throughNext(planeSize);
    seedingCellsNear(bounds.begin - 1, row, previous, throughHere);
    seedingCellsNear(bounds.begin, row, current, throughHere);
    for (uint32_t x = bounds.begin; x < bounds.end; ++x) {
        seedingCellsNear(x + 1, row, following, throughNext);
        const uint32_t first = x * planeSize;
        uint64_t *through = throughBits.data() + size_t(x) * planeWords;
        for (uint32_t i = 0; i < planeSize; ++i) {
            if (!throughHere[i])
                continue;
            through[i / kBitsPerWord] |= bitOf(i);
            if (previous[i] | current[i] | following[i])
                own.front.push_back(first + i);
        }
        previous.swap(current);
        current.swap(following);
        throughHere.swap(throughNext);
    }
}

void MooreFront::reachAround(uint32_t x, uint32_t y, uint32_t z, SlabSets &own) const
{
    const uint32_t zLow = z > 0 ? z - 1 : z;
    const uint32_t zCount = (z + 1 < sizeZ ? z + 1 : z) - zLow + 1;
    const uint32_t xLow = x > 0 ? x - 1 : x, xHigh = x + 1 < sizeX ? x + 1 : x;
    const uint32_t yLow = y > 0 ? y - 1 : y, yHigh = y + 1 < sizeY ? y + 1 : y;
    for (uint32_t nx = xLow; nx <= xHigh; ++nx)
        for (uint32_t ny = yLow; ny <= yHigh; ++ny)
            setBits(own.reached, size_t(nx - own.reachFirstPlane) * planeWords * kBitsPerWord + size_t(ny) * sizeZ + zLow,
                    zCount);
}

void MooreFront::markSlab(Util::Slab bounds, unsigned slab)
{
    std::lock_guard<std::mutex> guard(slabLocks[slab]);
    SlabSets &own = sets[slab];
    own.lowerHandOver.clear();
    own.upperHandOver.clear();
    own.marked.clear();
    own.next.clear();
    own.evaluated += own.front.size();
    own.borderBelowEnd = 0;
    own.borderAboveBegin = 0;

    // Plane by plane, so that the reached bits of a plane are still in the cache when they are
    // read back: once the front of plane x has set its bits, no later plane touches plane
    // x − 1, whose bits are then final.
    // The other slabs read no deeper into this one than its first and last planes, and this
    // slab looks at a marked cell only once, so the through bits between those planes change
    // at once; those of the border planes wait for the end of the step.
    size_t at = 0;
    size_t markedBefore = 0; // the first marked cell of the plane before
    for (uint32_t x = bounds.begin; x < bounds.end; ++x) {
        // The front is sorted, so its row in the plane only moves forward: no division.
        uint32_t y = 0;
        uint32_t rowEnd = sizeZ; // in-plane index

        const size_t markedHere = own.marked.size();
        const bool border = x == bounds.begin || x + 1 == bounds.end;
        if (x == bounds.begin + 1)
            own.borderBelowEnd = markedHere;
        if (x + 1 == bounds.end && x != bounds.begin)
            own.borderAboveBegin = markedHere;
        const uint32_t planeEnd = (x + 1) * planeSize;
        for (; at < own.front.size() && own.front[at] < planeEnd; ++at) {
            const uint32_t index = own.front[at];
            // A front cell that no longer holds the material was changed by the step before:
            // it was on that step's front too, which has already taken its neighbours.
            const uint32_t inPlane = index - x * planeSize;
            uint64_t &word = throughBits[size_t(x) * planeWords + inPlane / kBitsPerWord];
            const uint64_t bit = bitOf(inPlane);
            if (!(word & bit))
                continue;
            own.marked.push_back(index);
            while (inPlane >= rowEnd) {
                ++y;
                rowEnd += sizeZ;
            }
            reachAround(x, y, inPlane - (rowEnd - sizeZ), own);
            if (!border)
                word &= ~bit;
        }
        if (x > 0)
            collectPlane(x - 1, bounds, markedBefore, markedHere, own);
        markedBefore = markedHere;
    }
    collectPlane(bounds.end - 1, bounds, markedBefore, own.marked.size(), own);
    if (bounds.end < sizeX)
        collectPlane(bounds.end, bounds, 0, 0, own);

    // Nothing in a step reads the cells, only the through bits, so the marked cells change in
    // one pass of their own: with nothing else between them, the writes keep many cache
    // misses in flight.
    const size_t count = own.marked.size();
    for (size_t k = 0; k < count; ++k) {
        if (k + kPrefetchDistance < count)
            __builtin_prefetch(cells + own.marked[k + kPrefetchDistance], 1);
        cells[own.marked[k]].setMaterial(rule.becomes);
    }
}

void MooreFront::collectPlane(uint32_t x, Util::Slab bounds, size_t markedBegin, size_t markedEnd, SlabSets &own)
{
    uint64_t *reached = own.reached.data() + size_t(x - own.reachFirstPlane) * planeWords;
    // The marked cells change in this step: they are not part of the next layer. Those off the
    // border planes have lost their through bits already.
    if (x == bounds.begin || x + 1 == bounds.end) {
        for (size_t k = markedBegin; k < markedEnd; ++k) {
            const uint32_t inPlane = own.marked[k] - x * planeSize;
            reached[inPlane / kBitsPerWord] &= ~bitOf(inPlane);
        }
    }
    IndexSet &into = x < bounds.begin ? own.lowerHandOver : x >= bounds.end ? own.upperHandOver : own.next;
    const uint64_t *through = throughBits.data() + size_t(x) * planeWords;
    const uint32_t first = x * planeSize;
    for (uint32_t word = 0; word < planeWords; ++word) {
        if (!reached[word])
            continue;
        uint64_t bits = reached[word] & through[word];
        reached[word] = 0;
        for (; bits; bits &= bits - 1)
            into.push_back(first + word * kBitsPerWord + uint32_t(__builtin_ctzll(bits)));
    }
}

void MooreFront::changeSlab(unsigned slab)
{
    SlabSets &own = sets[slab];
    // The border planes' through bits, which the neighbouring slabs read while marking.
    const auto change = [&](size_t begin, size_t end) {
        for (size_t k = begin; k < end; ++k) {
            const uint32_t index = own.marked[k];
            const uint32_t x = index / planeSize, inPlane = index - x * planeSize;
            throughBits[size_t(x) * planeWords + inPlane / kBitsPerWord] &= ~bitOf(inPlane);
        }
    };
    change(0, own.borderBelowEnd);
    change(own.borderAboveBegin, own.marked.size());

    // The neighbours' hand-overs are read under their slab locks, lower slab first.
    std::unique_lock<std::mutex> below;
    std::unique_lock<std::mutex> above;
    const IndexSet *fromBelow = nullptr;
    const IndexSet *fromAbove = nullptr;
    if (slab > 0) {
        below = std::unique_lock<std::mutex>(slabLocks[slab - 1]);
        fromBelow = &sets[slab - 1].upperHandOver;
    }
    if (slab + 1 < slabs.size()) {
        above = std::unique_lock<std::mutex>(slabLocks[slab + 1]);
        fromAbove = &sets[slab + 1].lowerHandOver;
    }
    mergeUnique(own.next, fromBelow, fromAbove, own.front);
}

} // namespace Operations
} // namespace Core
