// Random-walk doping on a 128 × 128 × 64 volume: silicon below z = 48, empty above. The walk
// first runs 200 steps once, so that the measured steps continue from a field whose counts range
// from the surface's 1e5 particles down to the handful a cell draws one by one. Reports cell
// steps per second (cells × steps / time) and the time of one step as a multiple of one
// streaming pass over the cells.

#include "BenchSupport.h"

#include "Core/Operations/RandomWalkDoping/RandomWalkDoping.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"

#include <chrono>
#include <memory>
#include <vector>

namespace {

using Core::Operations::RandomWalkDopingParameters;
using Model::Automaton::ParticleCountField;
using Model::Automaton::TotalVolume;

constexpr uint32_t kSizeX = 128, kSizeY = 128, kSizeZ = 64, kSiliconTop = 48;
constexpr uint32_t kSilicon = 1, kNDoped = 14;
constexpr int kWarmUpSteps = 200;
constexpr int kMeasuredSteps = 10;
constexpr uint32_t kSeed = 7;

RandomWalkDopingParameters walk(int steps)
{
    RandomWalkDopingParameters p;
    p.cellSize = 1e-7;
    p.diffusionCoefficient = 1e-14;
    p.timeStep = 0.5 * p.cellSize * p.cellSize / (6.0 * p.diffusionCoefficient);
    p.dopingTime = steps * p.timeStep * 1.0001;
    p.surfaceConcentration = 1e26;
    p.threshold = 1e25;
    p.dopedMaterial = kNDoped;
    return p;
}

struct Scenario {
    std::shared_ptr<TotalVolume> volume;
    std::vector<uint32_t> materials;
    ParticleCountField warmField{0};
    double streamSeconds = 0.0;
};

Scenario &scenario()
{
    static Scenario s = [] {
        Scenario s;
        s.materials.resize(size_t(kSizeX) * kSizeY * kSizeZ);
        for (size_t i = 0; i < s.materials.size(); ++i)
            s.materials[i] = i % kSizeZ < kSiliconTop ? kSilicon : 0u;
        s.volume = std::make_shared<TotalVolume>(kSizeX, kSizeY, kSizeZ, 1.f, 1.f, 1.f, Util::Vector3D(), s.materials);
        Core::Operations::dopeByRandomWalk(*s.volume, walk(kWarmUpSteps), kSeed);
        s.warmField = *s.volume->particleCountField(ParticleCountField::kTypeNName);
        s.streamSeconds = BenchSupport::streamSeconds(*s.volume);
        return s;
    }();
    return s;
}

void BM_RandomWalkDoping(benchmark::State &state)
{
    Scenario &s = scenario();
    const BenchSupport::ScopedThreads threads(int(state.range(0)));
    double total = 0.0;
    for (auto _ : state) {
        {
            auto *cells = s.volume->lockCells();
            for (size_t i = 0; i < s.materials.size(); ++i)
                cells[i].setMaterial(s.materials[i]);
            s.volume->setParticleCountField(ParticleCountField::kTypeNName,
                                            std::make_shared<ParticleCountField>(s.warmField));
            s.volume->unlockCells();
        }
        const auto start = std::chrono::steady_clock::now();
        Core::Operations::dopeByRandomWalk(*s.volume, walk(kMeasuredSteps), kSeed);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double perRun = total / double(state.iterations());
    state.counters["cellSteps"] = double(s.volume->cellCount()) * kMeasuredSteps / perRun;
    state.counters["xStreamPerStep"] = perRun / kMeasuredSteps / s.streamSeconds;
}

} // namespace

// Argument: threads.
BENCHMARK(BM_RandomWalkDoping)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
