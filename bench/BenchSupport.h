#pragma once

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/TotalVolume.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace BenchSupport {

// The baseline every hot path is read against: one streaming pass over a cell array of this
// many cells, summing the materials. Report a benchmark's time as a multiple of this one.
uint64_t streamCells(const Model::Automaton::Cell *cells, uint64_t count);

// Seconds one streaming pass over the volume's cells takes (the mean of five).
double streamSeconds(Model::Automaton::TotalVolume &volume);

// The streaming pass as a benchmark of its own over the volume, reporting cells per second.
void measureStream(benchmark::State &state, Model::Automaton::TotalVolume &volume);

// A volume and the materials it starts from, with the time of one streaming pass over it.
struct Scenario {
    std::unique_ptr<Model::Automaton::TotalVolume> volume;
    std::vector<uint32_t> initial;
    double streamSeconds = 0.0;

    // Puts the starting materials back.
    void restore();
};

// The structure the automaton benchmarks run on: a 256 × 256 silicon block 64 cells high, cut by
// trenches 8 cells wide and 32 deep every 32 cells along x and y, under empty layers up to
// `sizeZ`.
constexpr uint32_t kTrenchedBlockTop = 64; // cells, exclusive
Scenario trenchedBlock(uint32_t sizeZ);

// Runs `run` once per iteration on the restored scenario with state.range(0) threads, timing
// only the run (manual time). Counters: cells per second, the front `run` returns, and xStream,
// the run as a multiple of one streaming pass.
void measureRuns(benchmark::State &state, Scenario &scenario,
                 const std::function<uint64_t(Model::Automaton::TotalVolume &)> &run);

// main() of a benchmark program that needs the built-in material catalogue (in memory only: a
// benchmark writes nothing under the home folder); `prepare` runs once before the benchmarks.
int runWithBuiltInCatalogue(int argc, char **argv, const std::function<void()> &prepare = {});

// Sets the global thread pool's maximum thread count for the benchmark's duration.
class ScopedThreads {
public:
    explicit ScopedThreads(int threads);
    ~ScopedThreads();

private:
    int previous;
};

} // namespace BenchSupport
