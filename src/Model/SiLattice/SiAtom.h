#pragma once

#include <cstdint>

namespace Model {

// One silicon atom of a volume's lattice. Atoms live in one contiguous array owned by the
// SiLattice and name each other by their index in it, so an atom is a small fixed record.
//
// A bond holds the index of the bonded atom, or one of two sentinels for lattice positions that
// hold no silicon: kNoAtom for a position in an empty cell (the bond is open to the etchant) and
// kFixedAtom for a position in another material or outside the volume (the bond is to a fully
// bonded neighbour that never etches).
struct SiAtom {
    static constexpr uint32_t kNoAtom = 0xFFFFFFFFu;
    static constexpr uint32_t kFixedAtom = 0xFFFFFFFEu;
    static constexpr int kBondCount = 4;

    enum State : uint8_t {
        Removed = 0,
        Present = 1,
        Fixed = 3, // never etched; counts as fully bonded
    };

    SiAtom() = default;
    explicit SiAtom(bool fixed) : state(fixed ? Fixed : Present) {}

    static bool isAtomIndex(uint32_t bond) { return bond < kFixedAtom; }

    bool isPresent() const { return state == Present; }
    bool isRemoved() const { return state == Removed; }
    bool isFixed() const { return state == Fixed; }

    // Linear index of the volume cell that contains the atom; −1 when it lies in no silicon cell.
    int32_t cellIndex = -1;
    uint32_t bonds[kBondCount] = {kNoAtom, kNoAtom, kNoAtom, kNoAtom};
    // The share of the atom still in the crystal, for etches that wear atoms away gradually.
    float occupation = 1.0f;
    uint8_t state = Present;
};

} // namespace Model
