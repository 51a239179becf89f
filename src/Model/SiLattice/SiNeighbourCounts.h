#pragma once

// Bond counts of lattice atoms, the quantities by which wet etching decides which atoms go.
// A bond to a fixed position counts as a bond to a fully bonded atom; a bond to a position that
// holds no atom, or to a removed atom, does not count.

#include "Model/SiLattice/SiAtom.h"

#include <cstdint>

namespace Model {

constexpr int kFullyBonded = SiAtom::kBondCount;

// n: the number of bonds of `atom` that lead to an atom still in the crystal (4 for a fixed atom).
inline int bondedNeighbourCount(const SiAtom &atom, const SiAtom *atoms)
{
    if (atom.isFixed())
        return kFullyBonded;
    int n = 0;
    for (uint32_t bond : atom.bonds) {
        if (bond == SiAtom::kFixedAtom)
            ++n;
        else if (SiAtom::isAtomIndex(bond) && !atoms[bond].isRemoved())
            ++n;
    }
    return n;
}

// m: over the bonds of `atom`, the further bonds of its neighbours: n − 1 for a present
// neighbour, 3 for a fixed one, 0 for a removed one or an open bond.
inline int secondNeighbourCount(const SiAtom &atom, const SiAtom *atoms)
{
    int m = 0;
    for (uint32_t bond : atom.bonds) {
        if (bond == SiAtom::kFixedAtom) {
            m += kFullyBonded - 1;
        } else if (SiAtom::isAtomIndex(bond)) {
            const SiAtom &neighbour = atoms[bond];
            if (neighbour.isFixed())
                m += kFullyBonded - 1;
            else if (neighbour.isPresent())
                m += bondedNeighbourCount(neighbour, atoms) - 1;
        }
    }
    return m;
}

} // namespace Model
