// Diffusion doping (depth 8) and ion implantation (band at depth 16 ± 2.5, annealing 4) on a
// 256 × 256 × 128 volume: silicon below z = 64, cut by trenches 8 cells wide and 32 deep every
// 32 cells along x and y, at 1 and 2 threads, beside one streaming pass over the cells.
//
// Counters: cells = grid cells per second, front = front cells evaluated per run,
// xStream = time of one run / time of one streaming pass over the same cells.

#include "BenchSupport.h"

#include "Core/Operations/Doping/IonImplantation.h"
#include "Core/Operations/Doping/SimpleDoping.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Core::Operations::IonImplantation;
using Core::Operations::SimpleDoping;
using Model::Automaton::TotalVolume;

constexpr uint32_t kSizeX = 256;
constexpr uint32_t kSizeY = 256;
constexpr uint32_t kSizeZ = 128;
constexpr uint32_t kStructureTop = 64; // cells, exclusive
constexpr uint32_t kTrenchPitch = 32;  // cells
constexpr uint32_t kTrenchWidth = 8;   // cells
constexpr uint32_t kTrenchDepth = 32;  // cells
constexpr float kDopingDepth = 8.f;        // length units (cells of length 1)
constexpr float kImplantationDepth = 16.f; // length units
constexpr float kVerticalSpread = 2.f;     // length units
constexpr float kAnnealingDistance = 4.f;  // length units
constexpr uint32_t kSilicon = Model::Materials::kSiliconMaterial;
constexpr uint32_t kDoped = Model::Materials::kNDopedSiliconMaterial;
const std::vector<uint32_t> kDopable = {kSilicon, 14, 15, 16};

double secondsOf(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

struct Scenario {
    std::unique_ptr<TotalVolume> volume;
    std::vector<uint32_t> initial;
    double streamSeconds = 0.0;
};

Scenario &scenario()
{
    static Scenario s;
    if (s.volume)
        return s;
    s.initial.assign(size_t(kSizeX) * kSizeY * kSizeZ, 0u);
    size_t i = 0;
    for (uint32_t x = 0; x < kSizeX; ++x)
        for (uint32_t y = 0; y < kSizeY; ++y) {
            const bool trench = x % kTrenchPitch < kTrenchWidth || y % kTrenchPitch < kTrenchWidth;
            const uint32_t top = trench ? kStructureTop - kTrenchDepth : kStructureTop;
            for (uint32_t z = 0; z < kSizeZ; ++z, ++i)
                s.initial[i] = z < top ? kSilicon : 0u;
        }
    s.volume = std::make_unique<TotalVolume>(kSizeX, kSizeY, kSizeZ, 1.f, 1.f, 1.f, Util::Vector3D(), s.initial);
    const auto *cells = s.volume->lockCells();
    constexpr int kPasses = 5;
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < kPasses; ++pass)
        benchmark::DoNotOptimize(BenchSupport::streamCells(cells, s.volume->cellCount()));
    s.streamSeconds = secondsOf(std::chrono::steady_clock::now() - start) / kPasses;
    s.volume->unlockCells();
    return s;
}

template <typename Run>
void measure(benchmark::State &state, Run run)
{
    BenchSupport::ScopedThreads threads(int(state.range(0)));
    Scenario &s = scenario();
    double total = 0.0;
    uint64_t front = 0;
    for (auto _ : state) {
        auto *cells = s.volume->lockCells();
        for (size_t i = 0; i < s.initial.size(); ++i)
            cells[i].setMaterial(s.initial[i]);
        s.volume->unlockCells();
        const auto start = std::chrono::steady_clock::now();
        front = run(*s.volume);
        const double seconds = secondsOf(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["cells"]
        = benchmark::Counter(double(s.volume->cellCount()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["front"] = double(front);
    state.counters["xStream"] = total / double(state.iterations()) / s.streamSeconds;
}

void BM_DiffusionDoping(benchmark::State &state)
{
    measure(state, [](TotalVolume &volume) {
        SimpleDoping automaton(volume, kDopable, kDoped, kDopingDepth);
        automaton.run(SimpleDoping::stepCount(kDopingDepth, 1.f));
        return automaton.evaluatedFrontCells();
    });
}

void BM_IonImplantation(benchmark::State &state)
{
    measure(state, [](TotalVolume &volume) {
        IonImplantation automaton(volume, kDopable, kDoped, kImplantationDepth, kVerticalSpread, kAnnealingDistance);
        automaton.run(IonImplantation::stepCount(kAnnealingDistance, 1.f));
        return automaton.evaluatedFrontCells();
    });
}

} // namespace

// Argument: threads.
BENCHMARK(BM_DiffusionDoping)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IonImplantation)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
