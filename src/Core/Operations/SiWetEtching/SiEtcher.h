#pragma once

// Wet etching of a volume's silicon lattice, atom by atom, as a surface-list cellular automaton
// over x-slabs. What decides whether one atom goes in a step is a rule object (the template
// parameter); everything else — the surface lists, the hand-over of atoms between slabs, the
// cells' atom counts and emptying a cell with its last atom — is shared by every rule.
//
// A step has two phases with a barrier between them. In the first every slab evaluates the rule
// for every atom of its surface list against the lattice as the previous step left it and
// collects the atoms that go; in the second every slab marks its atoms removed, lowers its cells'
// atom counts and takes over the atoms that its neighbours handed to it. Because no atom changes
// while any slab evaluates, a step removes one layer and the result does not depend on the
// number of slabs.
//
// A rule is any type with
//     // Called once for every atom the initialisation puts on a surface list.
//     void prepare(Model::SiAtom &atom) const;
//     // Whether the present atom `atom` goes in this step. Called concurrently for atoms of all
//     // slabs; it may read any atom and write only `atom.occupation`.
//     bool removes(Model::SiAtom &atom, const Model::SiAtom *atoms) const;
//
// Use: construct on a volume (the cells stay locked while the etcher lives),
// initialise(), step() as often as the depth asks, finish(); or run(steps) for all of it.

#include "Model/Automaton/CellLock.h"
#include "Model/SiLattice/SiAtom.h"
#include "Model/SiLattice/SiNeighbourCounts.h"
#include "Util/SlabRunner.h"

#include <QMutex>
#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
class SiLattice;
namespace Automaton {
class Cell;
class TotalVolume;
} // namespace Automaton
} // namespace Model

namespace Core {
namespace Operations {

// Splits [0, sizeX) into `threads` slabs of equal width, the last taking the rest, with fewer
// slabs when a slab would be narrower than `minimumWidth` cells (one slab at least). Bonded atoms
// then always lie in the same or an adjacent slab.
std::vector<Util::Slab> splitSlabsAtLeast(uint32_t sizeX, uint32_t threads, uint32_t minimumWidth);

// The cells an x-slab must be wide so that a bond never reaches past the next slab.
uint32_t minimumSlabWidthForBonds(float cellSizeX);

class SiEtcherBase {
public:
    SiEtcherBase(const SiEtcherBase &) = delete;
    SiEtcherBase &operator=(const SiEtcherBase &) = delete;

    uint32_t slabCount() const { return uint32_t(slabs.size()); }
    // Atoms the rule was asked about, and atoms removed, since construction.
    uint64_t atomsExamined() const;
    uint64_t atomsRemoved() const { return removedTotal; }
    // Atoms on the surface lists now.
    uint64_t surfaceAtomCount() const;

protected:
    struct SlabState {
        uint64_t firstCell = 0; // cell-index range of the slab's x range
        uint64_t endCell = 0;
        std::vector<uint32_t> surface;
        std::vector<uint32_t> next;  // the surface list being built during a step
        std::vector<uint32_t> lower; // handed to the slab below
        std::vector<uint32_t> upper; // handed to the slab above
        std::vector<uint32_t> removed;
        uint64_t examined = 0;
        QMutex mutex;
    };

    // Locks the volume's cells for the etcher's lifetime. A volume without a lattice gets one
    // first; when that is refused for want of memory the etcher has no slabs and changes nothing.
    explicit SiEtcherBase(Model::Automaton::TotalVolume &volume);
    ~SiEtcherBase();

    // The atoms of the slab's silicon cells that have fewer than four bonded neighbours,
    // sorted; `prepare` is called for each.
    template <typename Prepare>
    void collectSurface(SlabState &slab, Prepare &&prepare);

    // Puts an atom next to a removed one on the list of the slab that owns its cell.
    void handOver(SlabState &slab, uint32_t atom) const
    {
        const uint64_t cell = uint64_t(atoms[atom].cellIndex);
        if (cell < slab.firstCell)
            slab.lower.push_back(atom);
        else if (cell < slab.endCell)
            slab.next.push_back(atom);
        else
            slab.upper.push_back(atom);
    }

    // The second phase of a step for every slab; returns the atoms removed.
    uint64_t completeStep();
    void clearSlabs();

    std::shared_ptr<Model::SiLattice> lattice; // held while the etcher runs
    Model::Automaton::CellLock lock;
    Model::SiAtom *atoms;
    Model::Automaton::Cell *cells;
    std::vector<Util::Slab> xSlabs;
    std::vector<std::unique_ptr<SlabState>> slabs;
    uint64_t removedTotal = 0;

private:
    void completeSlab(size_t t);
    size_t latticeAtomCount() const;
    bool isSiliconCell(uint64_t cell) const;
};

template <typename Rule>
class SiEtcher : public SiEtcherBase {
public:
    explicit SiEtcher(Model::Automaton::TotalVolume &volume, Rule rule = Rule())
        : SiEtcherBase(volume), rule(std::move(rule))
    {
    }

    void initialise()
    {
        Util::runSlabs(xSlabs, [this](size_t t, Util::Slab) {
            collectSurface(*slabs[t], [this](Model::SiAtom &atom) { rule.prepare(atom); });
        });
    }

    // One step; returns the atoms it removed.
    uint64_t step()
    {
        Util::runSlabs(xSlabs, [this](size_t t, Util::Slab) { evaluate(*slabs[t]); });
        return completeStep();
    }

    void finish() { clearSlabs(); }

    void run(uint32_t steps)
    {
        initialise();
        for (uint32_t s = 0; s < steps; ++s)
            step();
        finish();
    }

private:
    void evaluate(SlabState &slab)
    {
        const QMutexLocker guard(&slab.mutex);
        slab.next.clear();
        slab.lower.clear();
        slab.upper.clear();
        slab.removed.clear();
        for (uint32_t index : slab.surface) {
            Model::SiAtom &atom = atoms[index];
            if (!atom.isPresent())
                continue;
            ++slab.examined;
            if (!rule.removes(atom, atoms)) {
                slab.next.push_back(index);
                continue;
            }
            slab.removed.push_back(index);
            for (uint32_t bond : atom.bonds)
                if (Model::SiAtom::isAtomIndex(bond) && atoms[bond].isPresent())
                    handOver(slab, bond);
        }
    }

    Rule rule;
};

template <typename Prepare>
void SiEtcherBase::collectSurface(SlabState &slab, Prepare &&prepare)
{
    const QMutexLocker guard(&slab.mutex);
    slab.surface.clear();
    const size_t atomCount = latticeAtomCount();
    for (uint32_t index = 0; index < atomCount; ++index) {
        Model::SiAtom &atom = atoms[index];
        const int64_t cell = atom.cellIndex;
        if (cell < int64_t(slab.firstCell) || cell >= int64_t(slab.endCell) || !atom.isPresent())
            continue;
        if (!isSiliconCell(uint64_t(cell)) || Model::bondedNeighbourCount(atom, atoms) >= Model::kFullyBonded)
            continue;
        prepare(atom);
        slab.surface.push_back(index); // ascending already: atoms are visited in index order
    }
}

} // namespace Operations
} // namespace Core
