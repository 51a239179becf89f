// Saving and opening a document holding one 256 × 256 × 128 volume: a silicon slab (z below 96)
// under a 16-cell oxide film, with a closed spherical cavity of radius 45 in the slab. Writing,
// reading (which builds no surface: a batch run never needs one), and reading followed by the
// surface build of the first draw, beside one streaming pass over the cells and the cost of
// tokenizing the ids as XML text. Reading should take at most twice as long as writing.

#include "BenchSupport.h"

#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Model/Persistence/TotalVolumeArchiver.h"
#include "Model/Scene.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kSizeX = 256;
constexpr uint32_t kSizeY = 256;
constexpr uint32_t kSizeZ = 128;
constexpr uint32_t kSlabTop = 96;      // cells, exclusive
constexpr uint32_t kFilmTop = 112;     // cells, exclusive
constexpr double kCavityRadius = 45.0; // cells
constexpr uint32_t kSilicon = 1;
constexpr uint32_t kOxide = 3;
constexpr double kBytesPerMegabyte = 1e6;

struct Fixture {
    QTemporaryDir dir;
    Model::Scene scene;
    Model::Persistence::DocumentArchive archive;
    QString path() const { return dir.filePath("bench.vxf"); }
};

Fixture &fixture()
{
    static std::unique_ptr<Fixture> f = [] {
        auto made = std::make_unique<Fixture>();
        const double cx = kSizeX / 2.0, cy = kSizeY / 2.0, cz = kSlabTop / 2.0;
        std::vector<uint32_t> materials(size_t(kSizeX) * kSizeY * kSizeZ, 0u);
        size_t i = 0;
        for (uint32_t x = 0; x < kSizeX; ++x)
            for (uint32_t y = 0; y < kSizeY; ++y)
                for (uint32_t z = 0; z < kSizeZ; ++z, ++i) {
                    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, dz = z + 0.5 - cz;
                    const bool inCavity = dx * dx + dy * dy + dz * dz < kCavityRadius * kCavityRadius;
                    if (z < kSlabTop)
                        materials[i] = inCavity ? 0u : kSilicon;
                    else if (z < kFilmTop)
                        materials[i] = kOxide;
                }
        made->scene.addObject(std::make_shared<Model::Automaton::TotalVolume>(
            kSizeX, kSizeY, kSizeZ, 1.0f, 1.0f, 1.0f, Util::Vector3D(), materials));
        Model::Persistence::DocumentWriter(made->scene, made->archive).write(made->path());
        return made;
    }();
    return *f;
}

uint32_t cellCount()
{
    return kSizeX * kSizeY * kSizeZ;
}

void setRates(benchmark::State &state)
{
    state.counters["cells"] = benchmark::Counter(double(cellCount()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] = benchmark::Counter(double(QFileInfo(fixture().path()).size()) / kBytesPerMegabyte,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StreamCells(benchmark::State &state)
{
    BenchSupport::measureStream(
        state, *std::static_pointer_cast<Model::Automaton::TotalVolume>(fixture().scene.objects().first()));
}

void BM_WriteDocument(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        const auto outcome = Model::Persistence::DocumentWriter(f.scene, f.archive).write(f.path());
        if (outcome != Model::Persistence::DocumentWriter::Outcome::Written)
            state.SkipWithError("the document was not written");
    }
    setRates(state);
}

// The whole of opening: materials and cells. With `buildSurfaces` (argument 1) also the surfaces
// of the new volume, as its first draw builds them.
void BM_ReadDocument(benchmark::State &state)
{
    Fixture &f = fixture();
    const bool buildSurfaces = state.range(0) != 0;
    for (auto _ : state) {
        Model::Scene scene;
        Model::Persistence::DocumentReader reader(scene, f.archive);
        if (reader.read(f.path()) != Model::Persistence::DocumentReader::Outcome::Read)
            state.SkipWithError("the document was not read");
        if (buildSurfaces)
            std::static_pointer_cast<Model::Automaton::TotalVolume>(scene.objects().first())->painter().update();
    }
    setRates(state);
}

// What the "State" text would cost if the XML stream reader tokenized it, as reading once did
// (it now parses the ids from the file's bytes): the same file tokenized, the text only
// counted, nothing parsed and no surface rebuilt.
void BM_TokenizeOnly(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        QFile file(f.path());
        file.open(QIODevice::ReadOnly | QIODevice::Text);
        QXmlStreamReader xml(&file);
        while (xml.readNextStartElement() && xml.name() != QLatin1String("Object"))
            if (xml.name() != QLatin1String("Document"))
                xml.skipCurrentElement();
        const auto attributes = xml.attributes();
        auto volume = std::make_shared<Model::Automaton::TotalVolume>(
            attributes.value("size-x").toUInt(), attributes.value("size-y").toUInt(),
            attributes.value("size-z").toUInt(), 1.f, 1.f, 1.f, Util::Vector3D(), std::vector<uint32_t>());
        xml.readNextStartElement(); // State
        uint64_t sum = 0;
        while (xml.readNext() == QXmlStreamReader::Characters)
            sum += uint64_t(xml.text().size());
        benchmark::DoNotOptimize(sum);
    }
    setRates(state);
}

} // namespace

BENCHMARK(BM_StreamCells)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadDocument)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TokenizeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchSupport::runWithBuiltInCatalogue(argc, argv, [] { fixture(); });
}
