// Distance-counting automata on a 256 × 256 × 128 volume: silicon below z = 64, cut by a grid
// of trenches 8 cells wide and 32 deep every 32 cells along x and y. Isotropic deposition of
// R = 16, isotropic etching of R = 8 and anisotropic deposition of R = 16 with a horizontal ratio
// of 0.5 at 1 and 2 threads, beside one streaming pass over the cells. A second volume with twice
// the empty headroom (256 × 256 × 192) shows whether the cost follows the front or the grid: a
// run may grow by no more than its initialisation pass alone (run(0)), which is measured on both
// volumes. Moore deposition of 8 layers and its seeding pass
// alone run on the same volumes: (Moore − seeding) / 8 is the cost of one layer, set beside one
// streaming pass over the first layer's cells.
//
// Counters: cells = grid cells per second, front = front cells evaluated per run,
// xStream = time of one run / time of one streaming pass over the same cells.

#include "BenchSupport.h"

#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDeposition.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtching.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDeposition.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

namespace {

using Core::Operations::AnisotropicFilmDeposition;
using Core::Operations::IsotropicFilmDeposition;
using Core::Operations::IsotropicFilmEtching;
using Core::Operations::MooreNeighborhoodDeposition;
using Model::Automaton::TotalVolume;

constexpr float kDepositedThickness = 16.f; // length units (cells of length 1)
constexpr float kEtchedDepth = 8.f; // length units
constexpr float kHorizontalRatio = 0.5f; // side-wall film / top film
constexpr uint32_t kMooreLayers = 8; // cells
constexpr uint32_t kSilicon = Model::Materials::kSiliconMaterial;
constexpr uint32_t kOxide = 2;

using BenchSupport::Scenario;

// CPU time of the calling thread: the one-thread ratios below are read from it, so that other
// programs sharing the machine's cores do not skew them.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

Scenario &scenario(uint32_t headroom)
{
    static std::map<uint32_t, Scenario> scenarios;
    Scenario &s = scenarios[headroom];
    if (!s.volume)
        s = BenchSupport::trenchedBlock(BenchSupport::kTrenchedBlockTop + headroom);
    return s;
}

// Runs `run(volume)` once per iteration on a fresh copy of the structure, timing only the run.
template <typename Run> void measure(benchmark::State &state, uint32_t headroom, Run run)
{
    BenchSupport::measureRuns(state, scenario(headroom), run);
}

uint64_t deposit(TotalVolume &volume)
{
    IsotropicFilmDeposition automaton(volume, kOxide, kDepositedThickness);
    automaton.run(IsotropicFilmDeposition::stepCount(kDepositedThickness, 1.f));
    return automaton.evaluatedFrontCells();
}

uint64_t etch(TotalVolume &volume)
{
    IsotropicFilmEtching automaton(volume, kSilicon, kEtchedDepth);
    automaton.run(IsotropicFilmEtching::stepCount(kEtchedDepth, 1.f));
    return automaton.evaluatedFrontCells();
}

uint64_t depositAnisotropic(TotalVolume &volume)
{
    AnisotropicFilmDeposition automaton(volume, kOxide, kDepositedThickness, kHorizontalRatio);
    automaton.run(automaton.stepCount());
    return automaton.evaluatedFrontCells();
}

uint64_t initialiseOnly(TotalVolume &volume)
{
    IsotropicFilmDeposition automaton(volume, kOxide, kDepositedThickness);
    automaton.run(0);
    return automaton.evaluatedFrontCells();
}

uint64_t mooreDeposit(TotalVolume &volume)
{
    MooreNeighborhoodDeposition automaton(volume, kOxide, kMooreLayers);
    automaton.run();
    return automaton.evaluatedFrontCells();
}

uint64_t mooreSeedOnly(TotalVolume &volume)
{
    MooreNeighborhoodDeposition automaton(volume, kOxide, 0);
    automaton.run();
    return automaton.evaluatedFrontCells();
}

void BM_StreamCells(benchmark::State &state)
{
    BenchSupport::measureStream(state, *scenario(uint32_t(state.range(0))).volume);
}

void BM_IsotropicDeposition(benchmark::State &state)
{
    measure(state, uint32_t(state.range(1)), deposit);
}

void BM_IsotropicEtching(benchmark::State &state)
{
    measure(state, uint32_t(state.range(1)), etch);
}

void BM_AnisotropicDeposition(benchmark::State &state)
{
    measure(state, uint32_t(state.range(1)), depositAnisotropic);
}

void BM_InitialisationPass(benchmark::State &state)
{
    measure(state, uint32_t(state.range(1)), initialiseOnly);
}

void BM_MooreDeposition(benchmark::State &state)
{
    measure(state, uint32_t(state.range(1)), mooreDeposit);
}

void BM_MooreSeeding(benchmark::State &state)
{
    measure(state, uint32_t(state.range(1)), mooreSeedOnly);
}

// The first Moore layer of the scenario: empty cells with a non-empty cell among their 26
// neighbours, in ascending order.
std::vector<uint32_t> firstMooreLayer(const TotalVolume &volume, const Model::Automaton::Cell *cells)
{
    const int64_t sx = volume.sizeX(), sy = volume.sizeY(), sz = volume.sizeZ();
    std::vector<uint32_t> layer;
    for (int64_t x = 0; x < sx; ++x)
        for (int64_t y = 0; y < sy; ++y)
            for (int64_t z = 0; z < sz; ++z) {
                if (cells[(x * sy + y) * sz + z].material() != 0)
                    continue;
                bool touches = false;
                for (int64_t nx = std::max<int64_t>(x - 1, 0); nx <= std::min(x + 1, sx - 1) && !touches; ++nx)
                    for (int64_t ny = std::max<int64_t>(y - 1, 0); ny <= std::min(y + 1, sy - 1) && !touches; ++ny)
                        for (int64_t nz = std::max<int64_t>(z - 1, 0); nz <= std::min(z + 1, sz - 1); ++nz)
                            touches = touches || cells[(nx * sy + ny) * sz + nz].material() != 0;
                if (touches)
                    layer.push_back(uint32_t((x * sy + y) * sz + z));
            }
    return layer;
}

// One Moore layer beside one streaming pass over a front of the same size: xFrontStream is
// (Moore run − seeding) / layers, divided by the time of reading every first-layer cell once in
// ascending order (prefetched), on one thread, in its CPU time; xFrontRewrite divides by a pass
// that also changes each cell; xFrontStreamPerCell compares the time per front cell, since later
// layers' fronts differ in size from the first. The third volume, 256 × 256 × 576, has z rows of
// nine 64-cell words, of which the front touches two.
void BM_MooreLayerPerFrontStream(benchmark::State &state)
{
    BenchSupport::ScopedThreads threads(1);
    Scenario &s = scenario(uint32_t(state.range(0)));
    s.restore();
    const auto *cells = s.volume->lockCells();
    const std::vector<uint32_t> front = firstMooreLayer(*s.volume, cells);
    s.volume->unlockCells();
    double layerSeconds = 0.0, streamSeconds = 0.0, rewriteSeconds = 0.0;
    uint64_t evaluated = 0;
    constexpr size_t kAhead = 16; // cells
    for (auto _ : state) {
        s.restore();
        double start = threadSeconds();
        evaluated = mooreDeposit(*s.volume);
        const double moore = (threadSeconds() - start);
        s.restore();
        start = threadSeconds();
        mooreSeedOnly(*s.volume);
        const double seeding = (threadSeconds() - start);
        const double layer = std::max(moore - seeding, 0.0) / kMooreLayers;
        layerSeconds += layer;
        state.SetIterationTime(layer);

        cells = s.volume->lockCells();
        start = threadSeconds();
        uint64_t sum = 0;
        for (size_t i = 0; i < front.size(); ++i) {
            if (i + kAhead < front.size())
                __builtin_prefetch(cells + front[i + kAhead]);
            sum += cells[front[i]].material();
        }
        benchmark::DoNotOptimize(sum);
        streamSeconds += (threadSeconds() - start);
        s.volume->unlockCells();

        // The same pass changing every cell it reads, as a layer must: each cache line is
        // written back as well as read.
        s.restore();
        mooreSeedOnly(*s.volume);
        auto *writable = s.volume->lockCells();
        start = threadSeconds();
        for (size_t i = 0; i < front.size(); ++i) {
            if (i + kAhead < front.size())
                __builtin_prefetch(writable + front[i + kAhead], 1);
            Model::Automaton::Cell &cell = writable[front[i]];
            if (cell.material() == 0)
                cell.setMaterial(kOxide);
        }
        rewriteSeconds += (threadSeconds() - start);
        s.volume->unlockCells();
    }
    state.counters["front"] = double(front.size());
    state.counters["layerMs"] = 1e3 * layerSeconds / double(state.iterations());
    state.counters["frontStreamMs"] = 1e3 * streamSeconds / double(state.iterations());
    state.counters["xFrontStream"] = layerSeconds / streamSeconds;
    state.counters["frontRewriteMs"] = 1e3 * rewriteSeconds / double(state.iterations());
    state.counters["xFrontRewrite"] = layerSeconds / rewriteSeconds;
    // The layers' fronts are not all as large as the first: per front cell looked at.
    const double frontPerLayer = double(evaluated) / kMooreLayers;
    state.counters["frontPerLayer"] = frontPerLayer;
    state.counters["xFrontStreamPerCell"] = (layerSeconds / frontPerLayer) / (streamSeconds / double(front.size()));
}

} // namespace

// Arguments: threads, empty headroom above the structure (cells).
BENCHMARK(BM_StreamCells)->Arg(64)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsotropicDeposition)
    ->Args({1, 64})
    ->Args({2, 64})
    ->Args({1, 128})
    ->Args({2, 128})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsotropicEtching)
    ->Args({1, 64})
    ->Args({2, 64})
    ->Args({1, 128})
    ->Args({2, 128})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnisotropicDeposition)
    ->Args({1, 64})
    ->Args({2, 64})
    ->Args({1, 128})
    ->Args({2, 128})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitialisationPass)
    ->Args({1, 64})
    ->Args({2, 64})
    ->Args({1, 128})
    ->Args({2, 128})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_MooreDeposition)
    ->Args({1, 64})
    ->Args({2, 64})
    ->Args({1, 128})
    ->Args({2, 128})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MooreLayerPerFrontStream)->Arg(64)->Arg(128)->Arg(512)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MooreSeeding)
    ->Args({1, 64})
    ->Args({2, 64})
    ->Args({1, 128})
    ->Args({2, 128})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
