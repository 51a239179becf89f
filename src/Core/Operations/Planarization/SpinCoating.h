#pragma once

// Spin coating ("Pour Material"): a liquid film poured over the structure levels out at a height.
//
// Every empty cell below the fill height receives the poured material, trenches and enclosed
// voids included; cells that hold any material keep it.

#include <cstdint>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Core {
namespace Operations {

class SpinCoating {
public:
    // A height above the volume's sizeZ acts as sizeZ.
    SpinCoating(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t height);

    void run();

private:
    Model::Automaton::TotalVolume &volume;
    uint32_t poured;
    uint32_t fillHeight; // cells, at most sizeZ
};

// The pouring step: every empty cell with z < height becomes `material`.
void pourMaterial(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t height);

} // namespace Operations
} // namespace Core
