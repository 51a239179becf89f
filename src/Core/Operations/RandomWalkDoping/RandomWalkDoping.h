#pragma once

// Dopant diffusion as a lattice random walk of particle counts; large counts split by normal
// approximations of the binomial drawn with the Box–Muller transform.
//
// Every step each dopable cell gathers the particles its six face neighbours sent it, then
// scatters its count again: each particle stays with probability 1 − p or hops to one of the six
// neighbours with probability p/6 (p = 6·D·Δt/a²). Cells beside an empty cell are held at the
// surface count a³·Cs. The walk wraps around in x and y; particles sent out through the top or
// bottom face of the volume, or into a cell that is not dopable, are lost. A dopable cell whose
// count this step exceeds the threshold count a³·Ct becomes the doped material. The counts stay
// on the volume as its particle count field, so that a later run continues from them.

#include "Core/Operations/RandomWalkDoping/RandomWalkDopingParameters.h"
#include "Model/Automaton/ParticleCountField.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}
}

namespace Core {
namespace Operations {

class RandomWalkDoping {
public:
    // The process whose compatible materials are the dopable ones ("Simple Doping").
    static constexpr uint32_t kDopingProcess = 13;

    // Takes the volume's field for `dopedMaterial` when it has one, so that the walk continues
    // from it; otherwise the walk starts from a zeroed field that dope() attaches. Each x plane
    // of the volume draws from its own MT19937, seeded with `seed` plus the plane's number, so
    // that the counts do not depend on how many threads share the planes.
    RandomWalkDoping(Model::Automaton::TotalVolume &volume, const RandomWalkDopingParameters &parameters,
                     uint32_t seed);

    // Runs ⌊time / Δt⌋ steps with the volume's cells locked throughout.
    void dope(float time);

    // The seed the interactive and batch runs use: the calendar time in seconds.
    static uint32_t timeSeed();

private:
    // A plane's generator, with the second normal variate of the last Box–Muller pair.
    struct PlaneRandom {
        std::mt19937 engine;
        float spareNormal = 0.0f;
        bool hasSpare = false;
    };
    enum Role : uint8_t { Fixed, Walker, Source };

    void initialize(Model::Automaton::Cell *cells, bool fieldIsNew);
    void gather(uint32_t x);
    void scatter(Model::Automaton::Cell *cells, uint32_t x);
    void scatterFew(uint32_t *cellSlots, uint32_t particles, PlaneRandom &random) const;
    void scatterMany(uint32_t *cellSlots, uint32_t particles, PlaneRandom &random) const;
    void finish(Model::Automaton::Cell *cells, uint32_t x);
    bool isDopable(uint32_t material) const;
    static float normal(PlaneRandom &random);
    // The part of `n` that a binomial draw with probability `r` takes, by its normal approximation.
    static uint32_t split(uint32_t n, float r, PlaneRandom &random);

    Model::Automaton::TotalVolume &volume;
    uint32_t dopedMaterial;
    float timeStep;
    float stay;       // ps = 1 − p
    float hop;        // q = (1 − ps) / 6, per direction
    uint32_t surfaceCount;
    int64_t thresholdCount;
    std::vector<uint32_t> dopable;
    std::shared_ptr<Model::Automaton::ParticleCountField> field;
    bool fieldIsNew = false;
    std::vector<uint8_t> roles;
    std::vector<PlaneRandom> planeRandom;
};

// The random-walk doping step: `parameters.dopingTime` of walk on `volume` (the parameters must
// have no problem()). Both the operation and the batch runner call it.
void dopeByRandomWalk(Model::Automaton::TotalVolume &volume, const RandomWalkDopingParameters &parameters,
                      uint32_t seed = RandomWalkDoping::timeSeed());

} // namespace Operations
} // namespace Core
