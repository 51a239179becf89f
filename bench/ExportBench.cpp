// Exports of a 256 × 256 × 128 volume: a silicon slab (z below 96) with a closed spherical
// cavity of radius 45 in its middle, as in the surface benchmark. VTK image data with the
// materials alone and with one particle count field, binary STL of the cube faces and of the
// marching-cubes surface (surface building included), beside one streaming pass over the cells.
// Files go to a temporary folder.

#include "BenchSupport.h"

#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Export/StlWriter.h"
#include "Model/Export/VtkImageWriter.h"

#include <QFileInfo>
#include <QTemporaryDir>
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

using Model::Automaton::ParticleCountField;
using Model::Automaton::TotalVolume;
using Model::Export::StlWriter;
using Model::Export::VtkImageWriter;

TotalVolume &scenario()
{
    static std::unique_ptr<TotalVolume> volume = [] {
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
        return std::make_unique<TotalVolume>(kSizeX, kSizeY, kSizeZ, 1.0f, 1.0f, 1.0f, Util::Vector3D(), materials);
    }();
    return *volume;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

void setRates(benchmark::State &state, const QString &file)
{
    state.counters["cells"] = benchmark::Counter(double(scenario().cellCount()),
                                                 benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] = double(QFileInfo(file).size()) / 1e6;
}

void BM_StreamCells(benchmark::State &state)
{
    BenchSupport::measureStream(state, scenario());
}

void BM_VtkMaterials(benchmark::State &state)
{
    const QString file = folder().filePath(QStringLiteral("materials.vti"));
    for (auto _ : state)
        benchmark::DoNotOptimize(VtkImageWriter::write(scenario(), file));
    setRates(state, file);
}

void BM_VtkMaterialsAndField(benchmark::State &state)
{
    auto &volume = scenario();
    auto field = std::make_shared<ParticleCountField>(volume.cellCount());
    for (uint32_t cell = 0; cell < volume.cellCount(); cell += 7)
        field->counters(cell)[ParticleCountField::kStaySlot] = cell % 11;
    volume.setParticleCountField(ParticleCountField::kTypeNName, field);
    const QString file = folder().filePath(QStringLiteral("field.vti"));
    for (auto _ : state)
        benchmark::DoNotOptimize(VtkImageWriter::write(volume, file));
    volume.removeProperty(ParticleCountField::kTypeNName);
    setRates(state, file);
}

void BM_StlSurface(benchmark::State &state)
{
    const bool smooth = state.range(0) != 0;
    const QString file = folder().filePath(smooth ? QStringLiteral("smooth.stl") : QStringLiteral("cubes.stl"));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            StlWriter::write(scenario(), smooth ? StlWriter::Surface::Smooth : StlWriter::Surface::Cubes, file));
    setRates(state, file);
    state.counters["triangles"] = double((QFileInfo(file).size() - StlWriter::kHeaderBytes - 4)
                                         / StlWriter::kTriangleBytes);
    state.SetLabel(smooth ? "smooth" : "cubes");
}

BENCHMARK(BM_StreamCells)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VtkMaterials)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VtkMaterialsAndField)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StlSurface)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return BenchSupport::runWithBuiltInCatalogue(argc, argv);
}
