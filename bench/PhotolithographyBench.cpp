// Photoresist development on a 256 × 256 × 128 volume: silicon below z = 64 under 16 layers of
// resist, exposed from the top through a mask of 8-cell stripes (half the columns covered), at
// 1 and 2 threads, beside one streaming pass over the cells. Development reads every column
// once, so a run should cost about one streaming pass.
//
// Counters: cells = grid cells per second, xStream = time of one run / time of one streaming pass.

#include "BenchSupport.h"

#include "Core/Operations/Photolithography/Photolithography.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Model::Automaton::TotalVolume;
using Model::Masks::ImageMask;

constexpr uint32_t kSize = 256;         // cells along x and y
constexpr uint32_t kSizeZ = 128;        // cells
constexpr uint32_t kResistBottom = 64;  // cells
constexpr uint32_t kResistTop = 80;     // cells, exclusive
constexpr uint32_t kStripeWidth = 8;    // cells
constexpr uint32_t kResist = 11;        // "Photoresist +"

struct Scenario {
    std::unique_ptr<TotalVolume> volume;
    std::vector<uint32_t> initial;
    ImageMask mask;
    double streamSeconds = 0.0;
};

Scenario &scenario()
{
    static Scenario s;
    if (s.volume)
        return s;
    s.initial.assign(size_t(kSize) * kSize * kSizeZ, 0u);
    size_t i = 0;
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y)
            for (uint32_t z = 0; z < kSizeZ; ++z, ++i)
                s.initial[i] = z < kResistBottom ? Model::Materials::kSiliconMaterial : z < kResistTop ? kResist : 0u;
    s.volume = std::make_unique<TotalVolume>(kSize, kSize, kSizeZ, 1.f, 1.f, 1.f, Util::Vector3D(), s.initial);
    s.mask.width = kSize;
    s.mask.height = kSize;
    s.mask.bits = QBitArray(int(kSize * kSize));
    for (uint32_t x = 0; x < kSize; ++x)
        if ((x / kStripeWidth) % 2 == 0)
            for (uint32_t y = 0; y < kSize; ++y)
                s.mask.bits.setBit(int(x * kSize + y));

    s.streamSeconds = BenchSupport::streamSeconds(*s.volume);
    return s;
}

void BM_Photolithography(benchmark::State &state)
{
    Scenario &s = scenario();
    const BenchSupport::ScopedThreads threads(int(state.range(0)));
    double total = 0.0;
    for (auto _ : state) {
        auto *cells = s.volume->lockCells();
        for (size_t i = 0; i < s.initial.size(); ++i)
            cells[i].setMaterial(s.initial[i]);
        s.volume->unlockCells();
        const auto start = std::chrono::steady_clock::now();
        Core::Operations::developPhotoresist(*s.volume, kResist, ImageMask(), s.mask);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double perRun = total / double(state.iterations());
    state.counters["cells"] = double(s.volume->cellCount()) / perRun;
    state.counters["xStream"] = perRun / s.streamSeconds;
}

} // namespace

// Argument: threads.
BENCHMARK(BM_Photolithography)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
