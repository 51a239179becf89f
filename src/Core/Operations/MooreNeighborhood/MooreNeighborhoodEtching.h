#pragma once

// Moore-neighbourhood etching: material removed one cell layer per step in the chessboard metric.
//
// After n layers every cell of the etched material that can be reached from an empty cell
// through at most n cells of that material, stepping to any of the 26 neighbours, is empty.
// Other materials stop the etch and keep every cell.

#include "Core/Operations/MooreNeighborhood/MooreFront.h"

#include <cstdint>

namespace Core {
namespace Operations {

class MooreNeighborhoodEtching {
public:
    MooreNeighborhoodEtching(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t layers);

    void run();

    uint64_t evaluatedFrontCells() const { return front.evaluatedFrontCells(); }

private:
    uint32_t layers;
    MooreFront front;
};

// The etching step: `layers` cell layers of `material` removed wherever it meets empty space.
void etchMooreFilm(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t layers);

} // namespace Operations
} // namespace Core
