// Surface generation on a 256 × 256 × 128 volume: a silicon slab (z below 96) with a closed
// spherical cavity of radius 45 in its middle. Direct cubic faces, marching cubes and the
// octree surface at 1 and 2 threads, beside one streaming pass over the cells. The direct
// cubic faces are also built with the slab made translucent, which adds the BSP tree.

#include "BenchSupport.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Geometry/DirectCubicSurface.h"
#include "Model/Geometry/MarchingCubeSurface.h"
#include "Model/Geometry/OctreeSurface.h"
#include "Model/Materials/MaterialFactory.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kSizeX = 256;
constexpr uint32_t kSizeY = 256;
constexpr uint32_t kSizeZ = 128;
constexpr uint32_t kSlabTop = 96;      // cells, exclusive
constexpr double kCavityRadius = 45.0; // cells
constexpr uint32_t kSilicon = 1;

Model::Automaton::TotalVolume &scenario()
{
    static std::unique_ptr<Model::Automaton::TotalVolume> volume = [] {
        const double cx = kSizeX / 2.0, cy = kSizeY / 2.0, cz = kSlabTop / 2.0;
        std::vector<uint32_t> materials(size_t(kSizeX) * kSizeY * kSizeZ, 0u);
        size_t i = 0;
        for (uint32_t x = 0; x < kSizeX; ++x)
            for (uint32_t y = 0; y < kSizeY; ++y)
                for (uint32_t z = 0; z < kSizeZ; ++z, ++i) {
                    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, dz = z + 0.5 - cz;
                    const bool inCavity = dx * dx + dy * dy + dz * dz < kCavityRadius * kCavityRadius;
                    materials[i] = z < kSlabTop && !inCavity ? kSilicon : 0u;
                }
        return std::make_unique<Model::Automaton::TotalVolume>(kSizeX, kSizeY, kSizeZ, 1.0f, 1.0f, 1.0f,
                                                               Util::Vector3D(), materials);
    }();
    return *volume;
}

void setRates(benchmark::State &state, double items, const char *name)
{
    state.counters[name] = benchmark::Counter(items, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["cells"] = benchmark::Counter(double(scenario().cellCount()),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StreamCells(benchmark::State &state)
{
    BenchSupport::measureStream(state, scenario());
}

void BM_DirectCubicFaces(benchmark::State &state)
{
    BenchSupport::ScopedThreads threads(int(state.range(0)));
    auto &volume = scenario();
    Model::Geometry::DirectCubicSurface surface;
    const auto box = volume.painter().cutLimits();
    const auto colors = volume.painter().materialColors();
    const Model::Automaton::CellReadLock lock(volume);
    for (auto _ : state)
        surface.build(volume, lock.cells(), box.lower.data(), box.upper.data(), colors);
    setRates(state, double(surface.opaqueFaces().size() + surface.translucentFaces().size()), "faces");
}

// The same slab made translucent: every shown face also goes into the BSP tree.
void BM_DirectCubicTranslucentFaces(benchmark::State &state)
{
    BenchSupport::ScopedThreads threads(int(state.range(0)));
    auto catalogue = Model::Materials::MaterialFactory::instance();
    const Model::Materials::Material silicon = catalogue->material(kSilicon);
    Model::Materials::Material glassy = silicon;
    glassy.setColor(Model::Materials::Color{0.5f, 0.5f, 0.5f, 0.5f});
    catalogue->setMaterial(glassy);
    auto &painter = scenario().painter();
    for (auto _ : state)
        painter.rebuild();
    setRates(state, double(painter.translucentFaces().size()), "faces");
    state.counters["nodes"] = double(painter.translucentTree()->nodes().size());
    catalogue->setMaterial(silicon);
    painter.rebuild();
}

void BM_MarchingCubes(benchmark::State &state)
{
    BenchSupport::ScopedThreads threads(int(state.range(0)));
    auto &volume = scenario();
    Model::Geometry::MarchingCubeSurface surface(volume);
    const auto box = volume.painter().cutLimits();
    for (auto _ : state)
        surface.build(box.lower.data(), box.upper.data());
    setRates(state, double(surface.triangleCount()), "triangles");
}

void BM_OctreeSurface(benchmark::State &state)
{
    BenchSupport::ScopedThreads threads(int(state.range(0)));
    auto &volume = scenario();
    Model::Geometry::OctreeSurface surface;
    const auto box = volume.painter().cutLimits();
    const auto colors = volume.painter().materialColors();
    for (auto _ : state)
        surface.build(volume, box.lower.data(), box.upper.data(), colors);
    setRates(state, double(surface.opaqueFaces().size() + surface.translucentFaces().size()), "faces");
}

BENCHMARK(BM_StreamCells)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DirectCubicFaces)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DirectCubicTranslucentFaces)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MarchingCubes)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OctreeSurface)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return BenchSupport::runWithBuiltInCatalogue(argc, argv, [] { scenario().painter().rebuild(); });
}
