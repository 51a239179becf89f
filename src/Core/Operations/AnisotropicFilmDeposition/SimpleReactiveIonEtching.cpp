#include "SimpleReactiveIonEtching.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <algorithm>
#include <iterator>

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

SimpleReactiveIonEtching::SimpleReactiveIonEtching(Model::Automaton::TotalVolume &volume, uint32_t material,
                                                   uint32_t depth, uint8_t directions)
    : volume(volume),
      material(material),
      depth(depth),
      directions(directions),
      sizeZ(volume.sizeZ()),
      planeSize(volume.sizeY() * volume.sizeZ()),
      slabs(slabsFor(volume.sizeX(), Util::slabThreadCount()))
{
    states.resize(slabs.size());
}

std::vector<Util::Slab> SimpleReactiveIonEtching::slabsFor(uint32_t sizeX, uint32_t threads)
{
    return Util::splitLastSlabTakesRest(0, sizeX, threads);
}

bool SimpleReactiveIonEtching::isEtched(uint32_t index) const
{
    return cells[index].material() == material;
}

void SimpleReactiveIonEtching::run()
{
    const Model::Automaton::CellLock lock(volume);
    cells = lock.cells();
    Util::runSlabs(slabs, [this](size_t k, Util::Slab bounds) { initializeSlab(bounds, states[k]); });
    for (uint32_t step = 0; step < depth; ++step) {
        // Once every front is empty the remaining steps would change nothing.
        const bool idle = std::all_of(states.begin(), states.end(), [](const SlabState &s) { return s.front.empty(); });
        if (idle)
            break;
        Util::runSlabs(slabs, [this](size_t k, Util::Slab) { stepSlab(states[k]); });
    }
    cells = nullptr;
}

void SimpleReactiveIonEtching::initializeSlab(Util::Slab bounds, SlabState &state) const
{
    state.front.clear();
    const uint32_t end = bounds.end * planeSize;
    for (uint32_t index = bounds.begin * planeSize; index < end; ++index) {
        if (!isEtched(index))
            continue;
        // z is the fastest index: the cells above and below are index ± 1.
        const uint32_t z = index % sizeZ;
        const bool openAbove = z + 1 < sizeZ && cells[index + 1].material() == kEmptyMaterial;
        const bool openBelow = z > 0 && cells[index - 1].material() == kEmptyMaterial;
        if (((directions & kFromTop) && openAbove) || ((directions & kFromBelow) && openBelow))
            state.front.push_back(index);
    }
}

void SimpleReactiveIonEtching::stepSlab(SlabState &state) const
{
    state.removed.clear();
    state.below.clear();
    state.above.clear();
    for (uint32_t index : state.front) {
        if (!isEtched(index))
            continue;
        state.removed.push_back(index);
        const uint32_t z = index % sizeZ;
        // An etch from below climbs the column, one from the top descends it.
        if ((directions & kFromBelow) && z + 1 < sizeZ && isEtched(index + 1))
            state.above.push_back(index + 1);
        if ((directions & kFromTop) && z > 0 && isEtched(index - 1))
            state.below.push_back(index - 1);
    }
    for (uint32_t index : state.removed)
        cells[index].setMaterial(kEmptyMaterial);
    state.next.clear();
    std::set_union(state.below.begin(), state.below.end(), state.above.begin(), state.above.end(),
                   std::back_inserter(state.next));
    state.front.swap(state.next);
}

void etchReactiveIons(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t depth, uint8_t directions)
{
    SimpleReactiveIonEtching automaton(volume, material, depth, directions);
    automaton.run();
}

} // namespace Operations
} // namespace Core
