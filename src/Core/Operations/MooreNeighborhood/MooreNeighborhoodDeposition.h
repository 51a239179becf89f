#pragma once

// Moore-neighbourhood deposition: a film grown one cell layer per step in the chessboard metric.
//
// After n layers every empty cell that can be reached from a solid cell through at most n empty
// cells, stepping to any of the 26 neighbours, holds the deposited material: a film of n cells on
// every face, edge and corner, with square corners and no shadowing.

#include "Core/Operations/MooreNeighborhood/MooreFront.h"

#include <cstdint>

namespace Core {
namespace Operations {

class MooreNeighborhoodDeposition {
public:
    MooreNeighborhoodDeposition(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t layers);

    void run();

    uint64_t evaluatedFrontCells() const { return front.evaluatedFrontCells(); }

private:
    uint32_t layers;
    MooreFront front;
};

// The deposition step: `layers` cell layers of `material` on every solid surface.
void depositMooreFilm(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t layers);

} // namespace Operations
} // namespace Core
