#include "SimpleSiOxidation.h"

#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"
#include "Model/Process/ProcessFactory.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;
using Model::Materials::kThermalOxideMaterial;

namespace {

// Deal–Grove rate constants for dry oxygen on silicon, as Arrhenius laws in k = 1000 / T (T in
// kelvin): B = kParabolicRate · e^(−kParabolicActivation·k) · P · kPressureScale (µm²/h), and
// B/A = kLinearRate · e^(−kLinearActivation·k) (µm/h).
constexpr double kParabolicRate = 1297.907373;           // µm²/h
constexpr double kParabolicActivation = 14.92366568;     // kK (activation energy over Boltzmann's constant)
constexpr double kPressureScale = 0.999264839884312;     // per atm
constexpr double kLinearRate = 7973245.767;              // µm/h
constexpr double kLinearActivation = 23.43965534;        // kK
constexpr double kKiloKelvin = 1000.0;                   // K
// The oxide that is already there when growth starts, and which the law's time offset τ accounts for.
constexpr double kInitialOxide = 0.025;                  // µm

// 1 + 1/√2: propagation steps per cell of distance that reach the cells diagonal to a source.
const double kStepsPerCell = (std::sqrt(2.0) + 1.0) / std::sqrt(2.0);

} // namespace

SimpleSiOxidation::SimpleSiOxidation(Model::Automaton::TotalVolume &volume, double micronConversion,
                                     IndexSet oxidisableIds)
    : AbstractDistanceCountingAutomatonBase(
          volume,
          [&] {
              IndexSet targets = oxidisableIds;
              targets.push_back(kEmptyMaterial);
              return targets;
          }(),
          cellLengthsOf(volume), StepSigns::AlwaysPositive),
      micronConversion(micronConversion),
      oxidisable(std::move(oxidisableIds)),
      smallestLength(smallestCellLength(volume)),
      halfCellZ(volume.cellSizeZ() / 2.f)
{
    std::sort(oxidisable.begin(), oxidisable.end());
    oxidisable.erase(std::unique(oxidisable.begin(), oxidisable.end()), oxidisable.end());
    oxidisable.erase(std::remove(oxidisable.begin(), oxidisable.end(), kEmptyMaterial), oxidisable.end());
}

double SimpleSiOxidation::dealGroveThickness(double hours, double kelvin, double atmospheres)
{
    const double k = kKiloKelvin / kelvin;
    const double b = kParabolicRate * std::exp(-kParabolicActivation * k) * (atmospheres * kPressureScale);
    const double bOverA = kLinearRate * std::exp(-kLinearActivation * k);
    const double a = b / bOverA;
    const double tau = (kInitialOxide * kInitialOxide + kInitialOxide * a) / b;
    return (std::sqrt(a * a + 4.0 * b * (hours + tau)) - a) * 0.5;
}

unsigned SimpleSiOxidation::iterationsFor(double thickness, float smallestCellLength)
{
    const float outside = float(double(kOutsideShare) * thickness);
    const double steps = std::ceil(double(outside) * kStepsPerCell / double(smallestCellLength));
    if (!(steps > 0.0)) // also NaN
        return 0u;
    if (steps >= double(std::numeric_limits<unsigned>::max()))
        return std::numeric_limits<unsigned>::max();
    return unsigned(steps);
}

void SimpleSiOxidation::growByTime(double hours, double kelvin, double atmospheres)
{
    growByThickness(dealGroveThickness(hours, kelvin, atmospheres));
}

void SimpleSiOxidation::growByThickness(double microns)
{
    thickness = microns * micronConversion;
    // With D = 0 every cell's vector would be 0 and within the limits: nothing to grow.
    if (!(thickness > 0.0) || !std::isfinite(thickness))
        return;
    const float outside = float(double(kOutsideShare) * thickness);
    const float inside = float(thickness - double(outside));
    outerLimit = outside * outside;
    innerLimit = inside * inside;
    run(iterationsFor(thickness, smallestLength));
}

bool SimpleSiOxidation::isOxidisable(uint32_t material) const
{
    return std::binary_search(oxidisable.begin(), oxidisable.end(), material);
}

bool SimpleSiOxidation::touchesEmpty(uint32_t index) const
{
    return anyNeighbourMaterial(index, [](uint32_t material) { return material == kEmptyMaterial; });
}

void SimpleSiOxidation::initializeCell(uint32_t index, unsigned slab)
{
    Model::Automaton::Cell &cell = cellAt(index);
    const uint32_t material = cell.material();
    const float far = float(thickness);
    if (isOxidisable(material) && touchesEmpty(index)) {
        // A surface cell: the oxidant reaches it across its face.
        cell.setFixed(true);
        cell.setV(0.f, 0.f, halfCellZ);
        return;
    }
    if (material != kEmptyMaterial && !isOxidisable(material)) {
        cell.setFixed(true);
        cell.setV(far, far, far);
        return;
    }
    cell.setFixed(false);
    cell.setV(far, far, far);
    const bool startsOnFront =
        material == kEmptyMaterial
            ? anyNeighbourMaterial(index, [this](uint32_t m) { return isOxidisable(m); })
            : anyNeighbour(index, [this](uint32_t n) { return isOxidisable(cellAt(n).material()) && touchesEmpty(n); });
    if (startsOnFront)
        startOnFront(index, slab);
}

void SimpleSiOxidation::updateCell(uint32_t index, unsigned slab)
{
    const Model::Automaton::Cell &cell = cellAt(index);
    if (cell.isFixed())
        return;
    const float limit = cell.material() == kEmptyMaterial ? outerLimit : innerLimit;
    changeIfCloser(index, limit, cell.material(), slab);
}

void SimpleSiOxidation::finalizeCell(uint32_t index, unsigned)
{
    Model::Automaton::Cell &cell = cellAt(index);
    const uint32_t material = cell.material();
    const float lengthSquared = cell.vx() * cell.vx() + cell.vy() * cell.vy() + cell.vz() * cell.vz();
    if ((material == kEmptyMaterial && lengthSquared <= outerLimit)
        || (isOxidisable(material) && lengthSquared <= innerLimit))
        cell.setMaterial(kThermalOxideMaterial);
}

AbstractDistanceCountingAutomatonBase::IndexSet oxidisableMaterials()
{
    const auto process = Model::Process::ProcessFactory::instance()->process(SimpleSiOxidation::kOxidationProcess);
    return process.compatibleMaterials();
}

void growOxideByTime(Model::Automaton::TotalVolume &volume, double micronConversion, double hours, double kelvin,
                     double atmospheres)
{
    SimpleSiOxidation automaton(volume, micronConversion, oxidisableMaterials());
    automaton.growByTime(hours, kelvin, atmospheres);
}

void growOxideByThickness(Model::Automaton::TotalVolume &volume, double micronConversion, double microns)
{
    SimpleSiOxidation automaton(volume, micronConversion, oxidisableMaterials());
    automaton.growByThickness(microns);
}

} // namespace Operations
} // namespace Core
