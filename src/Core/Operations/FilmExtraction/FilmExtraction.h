#pragma once

// Film release: a six-connected flood fill from the first cell of a material, copied into a new
// grid of the same size, optionally turned over about the x axis, then dropped to the bottom.
//
// Only the connected piece that holds the material's first cell in index order is taken; pieces
// that touch it only along an edge or at a corner stay behind, as does the source, unchanged.

#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}
}

namespace Core {
namespace Operations {

class FilmExtraction {
public:
    FilmExtraction(Model::Automaton::TotalVolume &source, uint32_t material, bool invert);

    // The new volume's materials in the source's cell-index order; all empty when the source
    // holds no cell of the material.
    std::vector<uint32_t> run();

private:
    // The first cell in index order that holds the material, or the cell count when none does.
    uint32_t seed(const Model::Automaton::Cell *cells) const;
    // Where a source cell lands in the result before the drop.
    uint32_t landing(uint32_t x, uint32_t y, uint32_t z) const;
    // Moves every column down so that the lowest written layer is z = 0.
    void dropToBottom(std::vector<uint32_t> &result) const;

    Model::Automaton::TotalVolume &source;
    uint32_t material;
    bool invert;
    // The lowest and highest z written before the drop.
    uint32_t lowestWritten = 0;
    uint32_t highestWritten = 0;
};

// The film extraction step: a new volume with the source's sizes, cell lengths and origin holding
// the extracted piece of `material`, resting on its bottom, turned over first when `invert`.
std::shared_ptr<Model::Automaton::TotalVolume> extractFilm(Model::Automaton::TotalVolume &source, uint32_t material,
                                                           bool invert);

} // namespace Operations
} // namespace Core
