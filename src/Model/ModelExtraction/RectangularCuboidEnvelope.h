#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Model {
namespace ModelExtraction {

// The six faces of a box, in the order its `neighbours` are kept.
enum Face : int { LowX = 0, HighX = 1, LowY = 2, HighY = 3, LowZ = 4, HighZ = 5 };
constexpr int kFaceCount = 6;

// The face on the other side of `face` (LowX <-> HighX, ...).
constexpr int oppositeFace(int face) { return face ^ 1; }

// An axis-aligned box of cells of one material, in cell coordinates, and the boxes that share
// one of its faces whole. The neighbour pointers do not own: the list that holds the boxes
// (an ExtractedModel) keeps them alive.
struct RectangularCuboidEnvelope {
    RectangularCuboidEnvelope() = default;
    RectangularCuboidEnvelope(uint32_t x, uint32_t y, uint32_t z, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                              uint32_t material)
        : x(x), y(y), z(z), sizeX(sizeX), sizeY(sizeY), sizeZ(sizeZ), material(material)
    {
    }

    // Keeps `neighbourCount` equal to the number of faces that hold a box.
    void setNeighbour(int face, RectangularCuboidEnvelope *box)
    {
        if (!neighbours[face] && box)
            ++neighbourCount;
        else if (neighbours[face] && !box)
            --neighbourCount;
        neighbours[face] = box;
    }

    uint32_t x = 0, y = 0, z = 0;
    uint32_t sizeX = 0, sizeY = 0, sizeZ = 0;
    uint32_t material = 0;
    std::array<RectangularCuboidEnvelope *, kFaceCount> neighbours{};
    int32_t neighbourCount = 0;
};

using EnvelopePointer = std::shared_ptr<RectangularCuboidEnvelope>;
using Envelopes = std::vector<EnvelopePointer>;

} // namespace ModelExtraction
} // namespace Model
