#include "BenchSupport.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Materials/MaterialIds.h"

#include <QThreadPool>
#include <chrono>

namespace BenchSupport {

uint64_t streamCells(const Model::Automaton::Cell *cells, uint64_t count)
{
    uint64_t sum = 0;
    for (uint64_t i = 0; i < count; ++i)
        sum += cells[i].material() + cells[i].cutCount();
    return sum;
}

double streamSeconds(Model::Automaton::TotalVolume &volume)
{
    constexpr int kPasses = 5;
    const auto *cells = volume.lockCellsForReading();
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < kPasses; ++pass)
        benchmark::DoNotOptimize(streamCells(cells, volume.cellCount()));
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    volume.unlockCells();
    return elapsed.count() / kPasses;
}

void measureStream(benchmark::State &state, Model::Automaton::TotalVolume &volume)
{
    const auto *cells = volume.lockCellsForReading();
    for (auto _ : state)
        benchmark::DoNotOptimize(streamCells(cells, volume.cellCount()));
    volume.unlockCells();
    state.counters["cells"] = benchmark::Counter(double(volume.cellCount()), benchmark::Counter::kIsIterationInvariantRate);
}

void Scenario::restore()
{
    auto *cells = volume->lockCells();
    for (size_t i = 0; i < initial.size(); ++i)
        cells[i].setMaterial(initial[i]);
    volume->unlockCells();
}

Scenario trenchedBlock(uint32_t sizeZ)
{
    constexpr uint32_t kSize = 256, kPitch = 32, kWidth = 8, kDepth = 32; // cells
    Scenario s;
    s.initial.assign(size_t(kSize) * kSize * sizeZ, 0u);
    size_t i = 0;
    for (uint32_t x = 0; x < kSize; ++x)
        for (uint32_t y = 0; y < kSize; ++y) {
            const bool trench = x % kPitch < kWidth || y % kPitch < kWidth;
            const uint32_t top = trench ? kTrenchedBlockTop - kDepth : kTrenchedBlockTop;
            for (uint32_t z = 0; z < sizeZ; ++z, ++i)
                s.initial[i] = z < top ? Model::Materials::kSiliconMaterial : 0u;
        }
    s.volume = std::make_unique<Model::Automaton::TotalVolume>(kSize, kSize, sizeZ, 1.f, 1.f, 1.f, Util::Vector3D(),
                                                               s.initial);
    s.streamSeconds = streamSeconds(*s.volume);
    return s;
}

void measureRuns(benchmark::State &state, Scenario &scenario,
                 const std::function<uint64_t(Model::Automaton::TotalVolume &)> &run)
{
    ScopedThreads threads(int(state.range(0)));
    double total = 0.0;
    uint64_t front = 0;
    for (auto _ : state) {
        scenario.restore();
        const auto start = std::chrono::steady_clock::now();
        front = run(*scenario.volume);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(seconds.count());
        total += seconds.count();
    }
    state.counters["cells"]
        = benchmark::Counter(double(scenario.volume->cellCount()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["front"] = double(front);
    state.counters["xStream"] = total / double(state.iterations()) / scenario.streamSeconds;
}

int runWithBuiltInCatalogue(int argc, char **argv, const std::function<void()> &prepare)
{
    Model::Materials::MaterialFactory::instance()->createDefaultMaterials();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (prepare)
        prepare();
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

ScopedThreads::ScopedThreads(int threads) : previous(QThreadPool::globalInstance()->maxThreadCount())
{
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
}

ScopedThreads::~ScopedThreads()
{
    QThreadPool::globalInstance()->setMaxThreadCount(previous);
}

} // namespace BenchSupport
