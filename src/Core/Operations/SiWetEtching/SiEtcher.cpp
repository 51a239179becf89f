#include "SiEtcher.h"

#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"
#include "Model/SiLattice/SiLattice.h"
#include "Model/SiLattice/SiLatticeGeometry.h"

#include <algorithm>
#include <cmath>

namespace Core {
namespace Operations {

namespace {

// How far along x a bond reaches: a quarter of the unit-cell edge along both in-plane lattice
// axes, which the 45-degree turn puts along x as a/4 · √2.
constexpr double kBondReachX = Model::SiLatticeGeometry::kUnitCellEdge / 4.0 * 1.4142135623730951;

void sortUnique(std::vector<uint32_t> &list)
{
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

std::shared_ptr<Model::SiLattice> latticeOf(Model::Automaton::TotalVolume &volume)
{
    if (!volume.siLattice())
        volume.createSiLattice();
    return volume.siLattice();
}

} // namespace

std::vector<Util::Slab> splitSlabsAtLeast(uint32_t sizeX, uint32_t threads, uint32_t minimumWidth)
{
    threads = std::max<uint32_t>(threads, 1);
    minimumWidth = std::max<uint32_t>(minimumWidth, 1);
    if (sizeX / threads < minimumWidth)
        threads = std::max<uint32_t>(sizeX / minimumWidth, 1);
    return Util::splitLastSlabTakesRest(0, sizeX, threads);
}

uint32_t minimumSlabWidthForBonds(float cellSizeX)
{
    if (!(cellSizeX > 0.0f))
        return 1;
    return std::max<uint32_t>(1, uint32_t(std::ceil(kBondReachX / double(cellSizeX))));
}

SiEtcherBase::SiEtcherBase(Model::Automaton::TotalVolume &volume)
    : lattice(latticeOf(volume)), lock(volume), atoms(lattice ? lattice->atomData() : nullptr), cells(lock.cells())
{
    if (!lattice)
        return;
    const uint64_t columnCells = uint64_t(volume.sizeY()) * volume.sizeZ();
    xSlabs = splitSlabsAtLeast(volume.sizeX(), Util::slabThreadCount(), minimumSlabWidthForBonds(volume.cellSizeX()));
    for (const Util::Slab &x : xSlabs) {
        auto slab = std::make_unique<SlabState>();
        slab->firstCell = columnCells * x.begin;
        slab->endCell = columnCells * x.end;
        slabs.push_back(std::move(slab));
    }
}

SiEtcherBase::~SiEtcherBase() = default;

size_t SiEtcherBase::latticeAtomCount() const
{
    return lattice->atoms().size();
}

bool SiEtcherBase::isSiliconCell(uint64_t cell) const
{
    return cells[cell].material() == Model::Materials::kSiliconMaterial;
}

uint64_t SiEtcherBase::atomsExamined() const
{
    uint64_t total = 0;
    for (const auto &slab : slabs)
        total += slab->examined;
    return total;
}

uint64_t SiEtcherBase::surfaceAtomCount() const
{
    uint64_t total = 0;
    for (const auto &slab : slabs)
        total += slab->surface.size();
    return total;
}

uint64_t SiEtcherBase::completeStep()
{
    Util::runSlabs(xSlabs, [this](size_t t, Util::Slab) { completeSlab(t); });
    uint64_t removed = 0;
    for (const auto &slab : slabs)
        removed += slab->removed.size();
    removedTotal += removed;
    if (lattice)
        lattice->noteRemoved(removed);
    return removed;
}

void SiEtcherBase::completeSlab(size_t t)
{
    // Only neighbours' mutexes are taken here, one at a time: nothing else touches this slab's
    // lists in this phase, and holding two would let adjacent slabs wait on each other.
    SlabState &slab = *slabs[t];
    // Every removed atom lies in a cell of this slab, so only this task touches those cells.
    for (uint32_t index : slab.removed) {
        Model::SiAtom &atom = atoms[index];
        atom.state = Model::SiAtom::Removed;
        if (atom.cellIndex < 0)
            continue;
        Model::Automaton::Cell &cell = cells[atom.cellIndex];
        const int32_t left = cell.atomCount() - 1;
        cell.setAtomCount(left);
        if (left == 0)
            cell.setMaterial(Model::Materials::kEmptyMaterial);
    }
    // The neighbours finished evaluating before this phase began, so their hand-overs are whole.
    if (t > 0) {
        SlabState &below = *slabs[t - 1];
        const QMutexLocker belowGuard(&below.mutex);
        slab.next.insert(slab.next.end(), below.upper.begin(), below.upper.end());
    }
    if (t + 1 < slabs.size()) {
        SlabState &above = *slabs[t + 1];
        const QMutexLocker aboveGuard(&above.mutex);
        slab.next.insert(slab.next.end(), above.lower.begin(), above.lower.end());
    }
    sortUnique(slab.next);
    slab.surface.swap(slab.next);
}

void SiEtcherBase::clearSlabs()
{
    Util::runSlabs(xSlabs, [this](size_t t, Util::Slab) {
        SlabState &slab = *slabs[t];
        const QMutexLocker guard(&slab.mutex);
        for (auto *list : {&slab.surface, &slab.next, &slab.lower, &slab.upper, &slab.removed})
            std::vector<uint32_t>().swap(*list);
    });
}

} // namespace Operations
} // namespace Core
