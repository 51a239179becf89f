#pragma once

// Planarization: a chemical-mechanical polish from above and a cut from below, by whole slices.
//
// Every cell at or above the maximum height and every cell below the minimum height becomes
// empty, whatever its material. Heights count cells along z from the bottom of the volume.

#include <cstdint>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

class Planarization {
public:
    // Heights above the volume's sizeZ act as sizeZ.
    Planarization(Model::Automaton::TotalVolume &volume, uint32_t maximumHeight, uint32_t minimumHeight);

    void run();

private:
    Model::Automaton::TotalVolume &volume;
    uint32_t upperCut; // cells, at most sizeZ
    uint32_t lowerCut; // cells, at most sizeZ
};

// The planarization step: empties z ≥ maximumHeight and z < minimumHeight.
void planarize(Model::Automaton::TotalVolume &volume, uint32_t maximumHeight, uint32_t minimumHeight);

} // namespace Operations
} // namespace Core
