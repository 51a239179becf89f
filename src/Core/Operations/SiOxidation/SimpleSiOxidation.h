#pragma once

// Thermal oxidation of silicon by the Deal–Grove linear–parabolic law (Deal and Grove, J. Appl.
// Phys. 36, 3770, 1965), grown with the distance-counting engine.
//
// Oxide grows wherever an oxidisable material meets empty space: of a thickness D, the empty
// cells within 0.56·D outside that surface and the oxidisable cells within 0.44·D inside it
// become thermal oxide (the oxide takes more room than the silicon it consumes). A cover of any
// other material keeps the oxidant away: silicon under it does not oxidise.

#include "Core/Operations/DistanceCounting/AbstractDistanceCountingAutomatonBase.h"

namespace Core {
namespace Operations {

class SimpleSiOxidation : private AbstractDistanceCountingAutomatonBase {
public:
    // The share of an oxide's thickness that lies outside the original surface; taken in single
    // precision, as the limits are single-precision squared lengths.
    static constexpr float kOutsideShare = 0.56f;
    // The catalogue's process whose compatible materials oxidise.
    static constexpr uint32_t kOxidationProcess = 12;

    // `micronConversion`: volume length units per micron. `oxidisable`: the materials that turn
    // into oxide (the empty material is ignored).
    SimpleSiOxidation(Model::Automaton::TotalVolume &volume, double micronConversion, IndexSet oxidisableIds);

    // The oxide thickness in microns after `hours` in dry oxygen at `kelvin` and `atmospheres`,
    // starting from the 0.025 µm native oxide that the law assumes.
    static double dealGroveThickness(double hours, double kelvin, double atmospheres);
    // Propagation steps that carry the outer limit across the smallest cell length: the outer
    // distance in cells times 1 + 1/√2, rounded up.
    static unsigned iterationsFor(double thickness, float smallestCellLength);

    // Grows the oxide that `hours` at `kelvin` and `atmospheres` give.
    void growByTime(double hours, double kelvin, double atmospheres);
    // Grows `microns` of oxide; a thickness that is not above 0 grows nothing.
    void growByThickness(double microns);

    using AbstractDistanceCountingAutomatonBase::evaluatedFrontCells;

private:
    void initializeCell(uint32_t index, unsigned slab) override;
    void updateCell(uint32_t index, unsigned slab) override;
    void finalizeCell(uint32_t index, unsigned slab) override;

    bool isOxidisable(uint32_t material) const;
    bool touchesEmpty(uint32_t index) const;

    double micronConversion;
    IndexSet oxidisable;
    float smallestLength;    // length units
    float halfCellZ;         // length units: a surface cell's distance to the surface it stands for
    double thickness = 0.0;  // D, length units
    float outerLimit = 0.f;  // (0.56·D)², squared length units
    float innerLimit = 0.f;  // (D − 0.56·D)², squared length units
};

// The oxidisable materials of the process catalogue, sorted.
AbstractDistanceCountingAutomatonBase::IndexSet oxidisableMaterials();

// The oxidation steps, on the catalogue's oxidisable materials, with `micronConversion` length
// units per micron: by the Deal–Grove law, or to a given thickness.
void growOxideByTime(Model::Automaton::TotalVolume &volume, double micronConversion, double hours, double kelvin,
                     double atmospheres);
void growOxideByThickness(Model::Automaton::TotalVolume &volume, double micronConversion, double microns);

} // namespace Operations
} // namespace Core
