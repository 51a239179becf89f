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
#include <functional>
#include <memory>
#include <vector>

namespace {

using Core::Operations::IonImplantation;
using Core::Operations::SimpleDoping;
using Model::Automaton::TotalVolume;

constexpr uint32_t kSizeZ = 128;
constexpr float kDopingDepth = 8.f;        // length units (cells of length 1)
constexpr float kImplantationDepth = 16.f; // length units
constexpr float kVerticalSpread = 2.f;     // length units
constexpr float kAnnealingDistance = 4.f;  // length units
constexpr uint32_t kSilicon = Model::Materials::kSiliconMaterial;
constexpr uint32_t kDoped = Model::Materials::kNDopedSiliconMaterial;
const std::vector<uint32_t> kDopable = {kSilicon, 14, 15, 16};

// Runs `run(volume)` once per iteration on a fresh copy of the structure, timing only the run.
void measure(benchmark::State &state, const std::function<uint64_t(TotalVolume &)> &run)
{
    static BenchSupport::Scenario scenario = BenchSupport::trenchedBlock(kSizeZ);
    BenchSupport::measureRuns(state, scenario, run);
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
