#pragma once

// Where gluing puts things: the occupied layers of the two volumes, the smallest result that
// holds them, and how far the top may be shifted sideways.

#include <cstdint>
#include <string>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

// The z range [lowest, end) of a volume's non-empty cells; `empty` when it has none.
struct OccupiedLayers {
    bool empty = true;
    uint32_t lowest = 0;
    uint32_t end = 0;
};

OccupiedLayers occupiedLayers(Model::Automaton::TotalVolume &volume);

// What the user chooses in the glue dialog: the result's size in cells, the top's shift in
// cells along x and y, and whether the top is turned over first.
struct GlueSettings {
    uint32_t sizeX = 0;
    uint32_t sizeY = 0;
    uint32_t sizeZ = 0;
    uint32_t dx = 0;
    uint32_t dy = 0;
    bool invert = false;
};

struct GlueLayout {
    // Analyses a base and a top volume (their cells are read, not changed).
    static GlueLayout of(Model::Automaton::TotalVolume &base, Model::Automaton::TotalVolume &top);

    // One above the base's highest occupied layer; 1 for an empty base.
    uint32_t baseTop = 1;
    // The top's occupied band [topBottom, topTop); `topHasMaterial` false when it has none.
    bool topHasMaterial = false;
    uint32_t topBottom = 0;
    uint32_t topTop = 0;

    uint32_t baseSizeX = 0;
    uint32_t baseSizeY = 0;
    uint32_t topSizeX = 0;
    uint32_t topSizeY = 0;

    // The smallest result: as wide and deep as the larger volume, as high as the base's material,
    // the top's band and one empty layer above.
    uint32_t defaultSizeX = 0;
    uint32_t defaultSizeY = 0;
    uint32_t defaultSizeZ = 0;

    // Cell lengths of the result: per axis the larger of the two volumes'.
    float cellSizeX = 1.f;
    float cellSizeY = 1.f;
    float cellSizeZ = 1.f;

    // The top's band height, in cells.
    uint32_t topHeight() const { return topTop - topBottom; }
    // The largest shifts that keep the top inside a result of the default size.
    uint32_t largestDisplacementX() const { return defaultSizeX - topSizeX; }
    uint32_t largestDisplacementY() const { return defaultSizeY - topSizeY; }

    // The default size, no shift, not inverted.
    GlueSettings defaults() const;

    // Whether every cell the glue writes lies inside a result of the chosen size: the size at
    // least the default, the shifted top inside it, and the result small enough to be held.
    // `why`, when given, receives a sentence naming the limit that is broken.
    bool accepts(const GlueSettings &settings, std::string *why = nullptr) const;
};

} // namespace Operations
} // namespace Core
