// One frame of the atomistic view of a 64 × 64 × 32 volume whose cells below z = 24 are
// silicon (cell edge 1): every atom as a sphere, atoms with their links, and the surface atoms
// only, drawn into a 640 × 480 framebuffer of an offscreen OpenGL context and finished. Run it
// under a display (xvfb-run) with LIBGL_ALWAYS_SOFTWARE=1 for the software renderer's numbers.
// The geometry build (lattice walk) is measured apart from drawing.

#include "BenchSupport.h"

#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/SiLattice/SiLattice.h"

#include <GL/gl.h>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kSizeX = 64;
constexpr uint32_t kSizeY = 64;
constexpr uint32_t kSizeZ = 32;
constexpr uint32_t kSiliconTop = 24; // cells, exclusive
constexpr uint32_t kSilicon = 1;
constexpr int kWidth = 640;  // pixels
constexpr int kHeight = 480; // pixels
constexpr double kHalfView = 60.0; // length units seen from the centre to the frame's edge

Model::Automaton::TotalVolume &scenario()
{
    static std::unique_ptr<Model::Automaton::TotalVolume> volume = [] {
        std::vector<uint32_t> materials(size_t(kSizeX) * kSizeY * kSizeZ, 0u);
        size_t i = 0;
        for (uint32_t x = 0; x < kSizeX; ++x)
            for (uint32_t y = 0; y < kSizeY; ++y)
                for (uint32_t z = 0; z < kSizeZ; ++z, ++i)
                    materials[i] = z < kSiliconTop ? kSilicon : 0u;
        auto made = std::make_unique<Model::Automaton::TotalVolume>(
            kSizeX, kSizeY, kSizeZ, 1.0f, 1.0f, 1.0f,
            Util::Vector3D(-double(kSizeX) / 2, -double(kSizeY) / 2, -double(kSizeZ) / 2), materials);
        made->createSiLattice();
        return made;
    }();
    return *volume;
}

Model::Rendering::VisualizationOptions atomOptions(bool links, bool surfaceOnly)
{
    Model::Rendering::VisualizationOptions o;
    o.renderSiAtoms = true;
    o.renderAtomLinks = links;
    o.renderSurfaceAtomsOnly = surfaceOnly;
    return o;
}

// Silicon made invisible so that the view shows the atoms rather than the cube faces.
void hideSilicon()
{
    auto factory = Model::Materials::MaterialFactory::instance();
    Model::Materials::Material silicon = factory->material(kSilicon);
    silicon.setColor(Model::Materials::Color{0.5f, 0.5f, 0.5f, 0.0f});
    factory->setMaterial(silicon);
}

void setUpFrame()
{
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = double(kWidth) / kHeight;
    glOrtho(-kHalfView * aspect, kHalfView * aspect, -kHalfView, kHalfView, -200.0, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(-60.0, 1.0, 0.0, 0.0);
    glRotated(30.0, 0.0, 0.0, 1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void drawFrames(benchmark::State &state, bool links, bool surfaceOnly)
{
    auto &painter = scenario().painter();
    painter.applyOptions(atomOptions(links, surfaceOnly));
    painter.rebuild();
    setUpFrame();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        painter.paint(true, false, Util::Vector3D(0.0, 0.0, 500.0));
        glFinish();
    }
    state.counters["atoms"] = double(painter.atomisticView().atoms().size());
    state.counters["atoms/s"] =
        benchmark::Counter(double(painter.atomisticView().atoms().size()) * double(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void BM_AtomisticFrameAllAtoms(benchmark::State &state) { drawFrames(state, false, false); }
void BM_AtomisticFrameAtomsAndLinks(benchmark::State &state) { drawFrames(state, true, false); }
void BM_AtomisticFrameSurfaceAtoms(benchmark::State &state) { drawFrames(state, true, true); }

void BM_AtomisticBuild(benchmark::State &state)
{
    auto &painter = scenario().painter();
    painter.applyOptions(atomOptions(true, false));
    for (auto _ : state)
        painter.rebuild();
    state.counters["atoms"] = double(scenario().siLattice()->atoms().size());
}

void BM_StreamCells(benchmark::State &state)
{
    std::vector<Model::Automaton::Cell> cells(size_t(kSizeX) * kSizeY * kSizeZ, Model::Automaton::Cell(kSilicon));
    for (auto _ : state)
        benchmark::DoNotOptimize(BenchSupport::streamCells(cells.data(), cells.size()));
}

} // namespace

BENCHMARK(BM_StreamCells)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AtomisticBuild)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AtomisticFrameSurfaceAtoms)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_AtomisticFrameAtomsAndLinks)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_AtomisticFrameAllAtoms)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char **argv)
{
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setAlphaBufferSize(8);
    QSurfaceFormat::setDefaultFormat(format);
    QGuiApplication application(argc, argv);
    // The built-in catalogue, in memory only: a benchmark writes nothing under the home folder.
    Model::Materials::MaterialFactory::instance()->createDefaultMaterials();
    hideSilicon();

    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface)) {
        std::fprintf(stderr, "No OpenGL context: run under a display (xvfb-run).\n");
        return 1;
    }
    QOpenGLFramebufferObject target(kWidth, kHeight, QOpenGLFramebufferObject::Depth);
    target.bind();
    std::printf("OpenGL renderer: %s\n", reinterpret_cast<const char *>(glGetString(GL_RENDERER)));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
