#pragma once

#include "Model/ModelExtraction/IStructure.h"
#include "Model/ModelExtraction/RectangularCuboidEnvelope.h"

namespace Model {
namespace ModelExtraction {

// The lumped model of one cantilever: its tip mass and the compliance of its bending.
struct BeamValues {
    double mass = 0.0;      // kg
    double stiffness = 0.0; // N/m
};

// Euler–Bernoulli cantilever under a tip load, k = 3EI / L³ with I = c³w / 12 (thickness c along
// z, width w the shorter of the beam's x and y sides, length L the longer), and the equivalent
// tip mass 33/140 of the beam's mass. Sizes in cells.
BeamValues beamValuesOf(const RectangularCuboidEnvelope &beam);

// Cantilevers as a netlist: for beam i (from 1), node i with a capacitor of the beam's mass and
// an inductor of its compliance 1/k, both to ground.
class CantileverStructure : public IStructure {
public:
    explicit CantileverStructure(Envelopes beams) : beamList(std::move(beams)) {}

    QString netlist() const override;
    const Envelopes &beams() const { return beamList; }

private:
    Envelopes beamList;
};

} // namespace ModelExtraction
} // namespace Model
