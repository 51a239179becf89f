#pragma once

// Continuous-cellular-automaton (CCA) wet etching of crystalline silicon (after Gosálvez et al.'s
// continuous CA for anisotropic etching): every surface atom carries an occupation that starts
// at 1 and is worn down each step by a rate that depends on its first- and second-neighbour
// bond counts; the atom goes when its occupation falls below kRemovedBelow.

#include "Model/SiLattice/SiAtom.h"

#include <QString>
#include <array>
#include <cstdint>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

// Removal rates by neighbourhood, in occupation per unit time: rates[n1][n2], where n1 is the
// number of bonded neighbours still in the crystal (0 to 3; atoms with four are never worn) and
// n2 the further bonds of those neighbours (Model::secondNeighbourCount; up to 9 for n1 = 3,
// room up to 12 for other counting conventions). A table of zeros etches nothing.
struct CcaRateTable {
    static constexpr int kMaxSecondNeighbours = 12;
    std::array<std::array<double, kMaxSecondNeighbours + 1>, Model::SiAtom::kBondCount> rates{};

    double rate(int n1, int n2) const;
};

// KOH-like rates (30 % KOH at 70 °C).
//
// Facts: counting the present atoms among its twelve second-neighbour positions, an atom of an
// ideal surface has (n1, n2) = (2, 8) on (100), (3, 7) on (110), (3, 9) on a (111) terrace and
// (1, 9) on (111) with one back-bond. The rule counts n2 through present bonds only
// (Model::secondNeighbourCount), which gives the same (3, 7) and (3, 9) for the three-bonded
// surfaces the table must tell apart, and (2, 6) and (1, 3) for the others, whose rates do not
// depend on n2. In 30 % KOH at 70 °C (100) etches about 0.7–0.8 µm/min, (110) about 1.5 times
// faster and (111) roughly 400 times slower than (100) (TMAH: about 35 times).
//
// Derivation:
// - (100): the reference rate R100. A step lowers occupation by kTimeFactor · rate and a step is
//   a quarter of a length unit of depth, so R100 = 1 / (kTimeFactor · 4 · 0.35) = 50/7 would move
//   a (100) surface one unit per unit of depth if atoms could be split; as an atom goes only
//   whole, each (100) layer (0.35 units) takes two steps and the surface moves 0.7 units per unit.
// - (110): its atomic layers lie √2 times farther apart than (100) layers (a/(2√2) against a/4),
//   so a surface 1.5 times faster needs an atom rate of 1.5/√2 ≈ 1.06 · R100.
// - (111): R100 / 400. The rate falls steeply between n2 = 7 and n2 = 9 at n1 = 3: n2 = 8 (step
//   and kink atoms on (111)) takes the geometric mean of the two, and n2 ≥ 9 the (111) rate.
// - n1 = 3 with n2 ≤ 6 (loosely held three-bonded atoms at convex corners): 1.5 · R100.
// - n1 ≤ 2: at least as fast as (100): R100 for two bonds, 2 · R100 for one or none.
extern const CcaRateTable kKohRateTable;

// The rule of the continuous etch, for SiEtcher.
struct ContinuousRemovalRule {
    static constexpr double kTimeFactor = 0.1;     // unit time per step
    static constexpr float kRemovedBelow = 1e-6f;  // occupation

    explicit ContinuousRemovalRule(const CcaRateTable &table = kKohRateTable) : table(&table) {}

    void prepare(Model::SiAtom &atom) const { atom.occupation = 1.0f; }
    bool removes(Model::SiAtom &atom, const Model::SiAtom *atoms) const;

    const CcaRateTable *table;
};

// Four steps per length unit of depth: ⌊4 · depth + 0.5⌋; below 0.125 no step at all.
uint32_t continuousEtchSteps(double depth);

// The continuous wet etching step: `depth` length units of etch time on the volume's silicon
// with `table`. Builds the lattice first when the volume has none; false (and `why`) when that
// lattice would not fit in memory, with nothing changed.
bool etchSiContinuous(Model::Automaton::TotalVolume &volume, double depth, const CcaRateTable &table = kKohRateTable,
                      QString *why = nullptr);

} // namespace Operations
} // namespace Core
