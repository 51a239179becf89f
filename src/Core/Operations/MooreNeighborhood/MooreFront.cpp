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

// out = (in − stride where hasLower) ∪ in ∪ (in + stride where hasUpper). The three runs ascend,
// so one merge gives the union sorted and without repeats, in time linear in the input.
template <typename Lower, typename Upper>
void dilate(const IndexSet &in, IndexSet &out, uint32_t stride, Lower hasLower, Upper hasUpper)
{
    out.clear();
    const size_t n = in.size();
    size_t lower = 0, same = 0, upper = 0;
    while (lower < n && !hasLower(in[lower]))
        ++lower;
    while (upper < n && !hasUpper(in[upper]))
        ++upper;
    for (;;) {
        const uint64_t a = lower < n ? uint64_t(in[lower]) - stride : kEnd;
        const uint64_t b = same < n ? uint64_t(in[same]) : kEnd;
        const uint64_t c = upper < n ? uint64_t(in[upper]) + stride : kEnd;
        const uint64_t least = std::min({a, b, c});
        if (least == kEnd)
            return;
        out.push_back(uint32_t(least));
        if (a == least)
            for (++lower; lower < n && !hasLower(in[lower]);)
                ++lower;
        if (b == least)
            ++same;
        if (c == least)
            for (++upper; upper < n && !hasUpper(in[upper]);)
                ++upper;
    }
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
      slabs(Util::splitWholeBelowMinimumWidth(volume.sizeX(), Util::slabThreadCount(), kMinimumSlabWidth))
{
    sets.resize(slabs.size());
    slabLocks.reset(new std::mutex[slabs.size()]);
}

MooreFront::~MooreFront() = default;

void MooreFront::run(uint32_t layers)
{
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

void MooreFront::seedingCellsNear(uint32_t x, std::vector<uint8_t> &row, std::vector<uint8_t> &out) const
{
    if (x >= sizeX) { // also x = −1, wrapped
        std::fill(out.begin(), out.end(), uint8_t(0));
        return;
    }
    const Model::Automaton::Cell *plane = cells + size_t(x) * planeSize;
    const bool nextToEmpty = rule.seed == Seed::NextToEmpty;
    for (uint32_t i = 0; i < planeSize; ++i)
        out[i] = uint8_t((plane[i].material() == Model::Materials::kEmptyMaterial) == nextToEmpty);
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
    seedingCellsNear(bounds.begin - 1, row, previous);
    seedingCellsNear(bounds.begin, row, current);
    for (uint32_t x = bounds.begin; x < bounds.end; ++x) {
        seedingCellsNear(x + 1, row, following);
        const uint32_t first = x * planeSize;
        for (uint32_t i = 0; i < planeSize; ++i)
            if ((previous[i] | current[i] | following[i]) && cells[first + i].material() == rule.through)
                own.front.push_back(first + i);
        previous.swap(current);
        current.swap(following);
    }
}

void MooreFront::neighbourhoodOf(const IndexSet &from, IndexSet &scratch, IndexSet &out) const
{
    const uint32_t lastZ = sizeZ - 1;
    const uint32_t lastY = sizeY - 1;
    const uint64_t cellCount = uint64_t(sizeX) * planeSize;
    dilate(
        from, out, 1, [&](uint32_t i) { return i % sizeZ != 0; }, [&](uint32_t i) { return i % sizeZ != lastZ; });
    dilate(
        out, scratch, sizeZ, [&](uint32_t i) { return i / sizeZ % sizeY != 0; },
        [&](uint32_t i) { return i / sizeZ % sizeY != lastY; });
    dilate(
        scratch, out, planeSize, [&](uint32_t i) { return i >= planeSize; },
        [&](uint32_t i) { return uint64_t(i) + planeSize < cellCount; });
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
    // A front cell that no longer holds the material was changed by the step before: it was on
    // that step's front too, which has already taken its neighbours.
    for (uint32_t index : own.front)
        if (cells[index].material() == rule.through)
            own.marked.push_back(index);

    // The next layer: the marked cells' neighbours that the front may move into, less the marked
    // cells themselves, which change at the end of this step.
    neighbourhoodOf(own.marked, own.scratch, own.neighbourhood);
    const uint32_t lowest = bounds.begin * planeSize;
    const uint32_t end = bounds.end * planeSize;
    auto marked = own.marked.cbegin();
    for (uint32_t index : own.neighbourhood) {
        while (marked != own.marked.cend() && *marked < index)
            ++marked;
        if ((marked != own.marked.cend() && *marked == index) || cells[index].material() != rule.through)
            continue;
        if (index < lowest)
            own.lowerHandOver.push_back(index);
        else if (index >= end)
            own.upperHandOver.push_back(index);
        else
            own.next.push_back(index);
    }
}

void MooreFront::changeSlab(unsigned slab)
{
    SlabSets &own = sets[slab];
    for (uint32_t index : own.marked)
        cells[index].setMaterial(rule.becomes);

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
