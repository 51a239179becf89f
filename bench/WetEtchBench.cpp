// Atomistic wet etching of a 128 × 128 × 64 wafer: silicon below z = 48 under one layer of
// oxide with a 3 × 3 grid of 24-cell square openings, etched 10 units down (29 layers), at 1 and
// 2 threads; and building the wafer's silicon lattice at 1 and 2 threads.
//
// Counters: atoms = lattice atoms built per second; examined = atoms the removal rule examined in
// one run; evals = those per second of the steps (initialisation apart), evalsPerThread the same
// per slab thread; evalsPerCpuSecond (one thread) per second of the thread's own CPU time; initialiseMs = the rest of a run (surface lists from the whole lattice, finish).

#include "BenchSupport.h"

#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"
#include "Core/Operations/SiWetEtching/SiEtcher.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"
#include "Model/SiLattice/SiLattice.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

namespace {

using Model::Automaton::TotalVolume;

constexpr uint32_t kSize = 128;          // cells along x and y
constexpr uint32_t kSizeZ = 64;          // cells
constexpr uint32_t kSiliconTop = 48;     // cells, exclusive; the oxide lies at this height
constexpr uint32_t kOpening = 24;        // cells, side of a square opening
constexpr uint32_t kPitch = 40;          // cells between the openings' corners
constexpr uint32_t kFirstOpening = 12;   // cells from the volume's side
constexpr double kEtchDepth = 10.0;      // length units

bool inOpening(uint32_t v)
{
    return v >= kFirstOpening && (v - kFirstOpening) % kPitch < kOpening;
}

std::vector<uint32_t> waferMaterials()
{
    std::vector<uint32_t> materials(size_t(kSize) * kSize * kSizeZ, 0u);
    size_t i = 0;
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y)
            for (uint32_t z = 0; z < kSizeZ; ++z, ++i) {
                if (z < kSiliconTop)
                    materials[i] = Model::Materials::kSiliconMaterial;
                else if (z == kSiliconTop && !(inOpening(x) && inOpening(y)))
                    materials[i] = Model::Materials::kThermalOxideMaterial;
            }
    return materials;
}

std::unique_ptr<TotalVolume> freshWafer()
{
    return std::make_unique<TotalVolume>(kSize, kSize, kSizeZ, 1.f, 1.f, 1.f, Util::Vector3D(), waferMaterials());
}

// CPU time of the calling thread: with one thread the steps run on it, so this is the rate per
// core whatever else the machine is doing.
double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SiLatticeBuild(benchmark::State &state)
{
    const BenchSupport::ScopedThreads threads(int(state.range(0)));
    auto volume = freshWafer();
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        volume->createSiLattice();
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double perRun = total / double(state.iterations());
    const auto lattice = volume->siLattice();
    state.counters["atoms"] = double(lattice->presentAtomCount()) / perRun;
    state.counters["bytesPerAtom"] = double(Model::SiLattice::bytesPerAtom());
    // What the lattice costs per silicon cell, stored slots, position map and cell records included.
    const uint64_t positions = uint64_t(lattice->unitCellsInPlane()) * lattice->unitCellsInPlane() * lattice->unitCellsAlongZ();
    const double siliconCells = double(kSize) * kSize * kSiliconTop;
    state.counters["latticeBytesPerSiCell"] =
        double(Model::SiLattice::bytesFor(lattice->unitCells().size(), positions)) / siliconCells;
    state.counters["atomsPerSiCell"] = double(lattice->presentAtomCount()) / siliconCells;
    state.counters["cellBytes"] = double(sizeof(Model::Automaton::Cell));
}

void BM_SiWetEtch(benchmark::State &state)
{
    const int threadCount = int(state.range(0));
    const BenchSupport::ScopedThreads threads(threadCount);
    const uint32_t steps = Core::Operations::atomisticEtchSteps(kEtchDepth);
    double total = 0.0;
    double stepSeconds = 0.0;
    double stepCpuSeconds = 0.0;
    uint64_t examined = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto volume = freshWafer();
        volume->createSiLattice();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        Core::Operations::SiEtcher<Core::Operations::AtomisticRemovalRule> etcher(*volume);
        etcher.initialise();
        const auto stepsStart = std::chrono::steady_clock::now();
        const double cpuStart = threadCpuSeconds();
        for (uint32_t s = 0; s < steps; ++s)
            etcher.step();
        stepCpuSeconds += threadCpuSeconds() - cpuStart;
        stepSeconds += secondsSince(stepsStart);
        etcher.finish();
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
        examined = etcher.atomsExamined();
    }
    const double runs = double(state.iterations());
    state.counters["examined"] = double(examined);
    state.counters["initialiseMs"] = (total - stepSeconds) / runs * 1e3;
    // The steps alone: the rate of the rule's evaluations with their hand-overs and bookkeeping.
    state.counters["evals"] = double(examined) / (stepSeconds / runs);
    state.counters["evalsPerThread"] = double(examined) / (stepSeconds / runs) / threadCount;
    if (threadCount == 1)
        state.counters["evalsPerCpuSecond"] = double(examined) / (stepCpuSeconds / runs);
}

} // namespace

// Argument: threads.
BENCHMARK(BM_SiLatticeBuild)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SiWetEtch)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
