#pragma once

#include <cstdint>

namespace Model {

// One diamond-cubic unit cell of a lattice: its integer position in unit cells and the index of
// its first atom. Its eight atoms are the consecutive atoms firstAtom … firstAtom + 7 of the
// lattice, in the order of the lattice's atom offsets.
struct SiCell {
    static constexpr uint32_t kAtomsPerCell = 8;

    int32_t i = 0;
    int32_t j = 0;
    int32_t k = 0;
    uint32_t firstAtom = 0;
};

} // namespace Model
