#include "ContinuousWetEtching.h"

#include "Core/Operations/SiWetEtching/SiEtcher.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/SiLattice/SiLattice.h"
#include "Model/SiLattice/SiNeighbourCounts.h"

#include <algorithm>
#include <cmath>

namespace Core {
namespace Operations {

namespace {

constexpr double kStepsPerUnit = 4.0;

CcaRateTable kohRates()
{
    const double r100 = 50.0 / 7.0;
    const double r110 = r100 * 1.5 / std::sqrt(2.0);
    const double r111 = r100 / 400.0;
    const double r111Step = std::sqrt(r110 * r111);
    CcaRateTable table;
    for (int n2 = 0; n2 <= CcaRateTable::kMaxSecondNeighbours; ++n2) {
        table.rates[0][size_t(n2)] = 2.0 * r100;
        table.rates[1][size_t(n2)] = 2.0 * r100;
        table.rates[2][size_t(n2)] = r100;
        double threeBonded = r111;
        if (n2 <= 6)
            threeBonded = 1.5 * r100;
        else if (n2 == 7)
            threeBonded = r110;
        else if (n2 == 8)
            threeBonded = r111Step;
        table.rates[3][size_t(n2)] = threeBonded;
    }
    return table;
}

} // namespace

const CcaRateTable kKohRateTable = kohRates();

double CcaRateTable::rate(int n1, int n2) const
{
    if (n1 < 0 || n1 >= Model::SiAtom::kBondCount)
        return 0.0;
    return rates[size_t(n1)][size_t(std::min(std::max(n2, 0), kMaxSecondNeighbours))];
}

bool ContinuousRemovalRule::removes(Model::SiAtom &atom, const Model::SiAtom *atoms) const
{
    // a + b: the bonded neighbours, surface-like (a) or fixed and fully bonded (b) alike.
    const int n1 = Model::bondedNeighbourCount(atom, atoms);
    if (n1 >= Model::kFullyBonded)
        return false;
    const double rate = table->rate(n1, Model::secondNeighbourCount(atom, atoms));
    const float occupation = float(double(atom.occupation) - kTimeFactor * rate);
    if (occupation >= kRemovedBelow) {
        atom.occupation = occupation;
        return false;
    }
    atom.occupation = 0.0f;
    return true;
}

uint32_t continuousEtchSteps(double depth)
{
    const double steps = std::floor(kStepsPerUnit * depth + 0.5);
    return steps > 0.0 ? uint32_t(std::min(steps, double(UINT32_MAX))) : 0u;
}

bool etchSiContinuous(Model::Automaton::TotalVolume &volume, double depth, const CcaRateTable &table, QString *why)
{
    if (!volume.siLattice() && !volume.createSiLattice(why))
        return false;
    SiEtcher<ContinuousRemovalRule> etcher(volume, ContinuousRemovalRule(table));
    etcher.run(continuousEtchSteps(depth));
    return true;
}

} // namespace Operations
} // namespace Core
