// Step 1 of model extraction (split planes, boxes grown breadth first, neighbours linked through
// the map of face corners) on a 256 × 256 × 128 volume, beside one streaming pass over its
// cells. Two scenarios:
//   0 "cantilevers": silicon below z = 60, a poly-silicon anchor bar (x < 32, z 60..67) and 16
//     beams 4 cells wide, 4 thick, of lengths 96 to 216 (a few thousand boxes);
//   1 "rough": every column of silicon to its own height among 16 levels (about a million
//     boxes), where comparing every pair of boxes would take hours.
// Step 1 reads every cell a few times and touches each box a few times, so "cantilevers" should
// cost a few streaming passes.
//
// Counters: boxes = boxes kept, cells = grid cells per second, xStream = time of one run / time
// of one streaming pass.

#include "BenchSupport.h"

#include "Model/Automaton/TotalVolume.h"
#include "Model/ModelExtraction/BoxDecomposition.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <random>
#include <vector>

namespace {

using Model::Automaton::TotalVolume;

constexpr uint32_t kSize = 256;      // cells along x and y
constexpr uint32_t kSizeZ = 128;     // cells
constexpr uint32_t kSilicon = 1;
constexpr uint32_t kPolySilicon = 16;
constexpr uint32_t kSurface = 60;    // cells, top of the silicon
constexpr uint32_t kAnchorLength = 32;
constexpr uint32_t kBeamThickness = 4;
constexpr uint32_t kBeamPitch = 16;  // cells along y between beams
constexpr uint32_t kBeamWidth = 4;
constexpr uint32_t kLevels = 16;     // heights of the rough surface

uint32_t cantileverMaterial(uint32_t x, uint32_t y, uint32_t z)
{
    if (z < kSurface)
        return kSilicon;
    if (z >= kSurface + 2 * kBeamThickness)
        return 0;
    if (x < kAnchorLength)
        return kPolySilicon;
    const uint32_t beam = y / kBeamPitch;
    const uint32_t length = 96 + 8 * beam;
    const bool onBeam = y % kBeamPitch < kBeamWidth && x < kAnchorLength + length;
    return onBeam && z >= kSurface + kBeamThickness ? kPolySilicon : 0u;
}

struct Scenario {
    std::unique_ptr<TotalVolume> volume;
    double streamSeconds = 0.0;
};

Scenario &scenario(int which)
{
    static Scenario s[2];
    Scenario &one = s[which];
    if (one.volume)
        return one;
    std::vector<uint32_t> materials(size_t(kSize) * kSize * kSizeZ, 0u);
    std::mt19937 random(3);
    size_t i = 0;
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y) {
            const uint32_t height = kSurface + random() % kLevels;
            for (uint32_t z = 0; z < kSizeZ; ++z, ++i)
                materials[i] = which == 0 ? cantileverMaterial(x, y, z) : z < height ? kSilicon : 0u;
        }
    one.volume = std::make_unique<TotalVolume>(kSize, kSize, kSizeZ, 1.f, 1.f, 1.f, Util::Vector3D(), materials);

    one.streamSeconds = BenchSupport::streamSeconds(*one.volume);
    return one;
}

void BM_ModelExtractionStepOne(benchmark::State &state)
{
    Scenario &s = scenario(int(state.range(0)));
    double total = 0.0;
    size_t boxes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto envelopes = Model::ModelExtraction::decomposeIntoBoxes(*s.volume);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
        boxes = envelopes.size();
    }
    const double perRun = total / double(state.iterations());
    state.counters["boxes"] = double(boxes);
    state.counters["cells"] = double(s.volume->cellCount()) / perRun;
    state.counters["xStream"] = perRun / s.streamSeconds;
}

// The linking alone, on the scenario's boxes (linking again sets the same links).
void BM_ModelExtractionLinking(benchmark::State &state)
{
    Scenario &s = scenario(int(state.range(0)));
    const auto boxes = Model::ModelExtraction::decomposeIntoBoxes(*s.volume);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Model::ModelExtraction::linkNeighbours(boxes);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["boxes"] = double(boxes.size());
}

} // namespace

// Argument: scenario (0 cantilevers, 1 rough surface).
BENCHMARK(BM_ModelExtractionStepOne)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ModelExtractionLinking)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
