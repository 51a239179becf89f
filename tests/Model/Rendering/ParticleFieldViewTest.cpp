// The particle count field view: its colour scales and their lookup, the value range over the
// cells that take part in the walk, and the faces it builds for a small field.

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/ThreadCount.h"

#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Rendering/ParticleColorMap.h"

#include <gtest/gtest.h>

using Model::Automaton::ParticleCountField;
using Model::Automaton::TotalVolumePainter;
using Model::Geometry::QuadFace;
using Model::Geometry::Rgba;
using Model::Rendering::ParticleColorMap;
using Model::Rendering::VisualizationOptions;
using namespace TestSupport;

namespace {

// Puts `count` particles in the stay slot of each listed cell of a new field on the volume.
void addField(TotalVolume &volume, const QString &name, const std::vector<std::pair<uint32_t, uint32_t>> &counts)
{
    auto field = std::make_shared<ParticleCountField>(volume.cellCount());
    for (const auto &cell : counts)
        field->counters(cell.first)[ParticleCountField::kStaySlot] = cell.second;
    volume.setParticleCountField(name, field);
}

VisualizationOptions particleView(uint32_t distribution, uint32_t scale)
{
    VisualizationOptions o;
    o.surfaceAlgorithm = TotalVolumePainter::ParticleCountField;
    o.particleDistribution = distribution;
    o.colorScale = scale;
    return o;
}

Rgba gray(int entry)
{
    const float v = float(entry) / 255.0f;
    return {v, v, v, 1.0f};
}

// The colour of the faces whose lower corner x lies in cell column x.
std::vector<Rgba> colorsAtX(const std::vector<QuadFace> &faces, float x)
{
    std::vector<Rgba> out;
    for (const QuadFace &face : faces) {
        float low = face.vertices[0][0];
        for (const auto &v : face.vertices)
            low = std::min(low, v[0]);
        const bool sideFace = face.normal()[0] > 0.5f;
        if ((sideFace ? low - 1.0f : low) == x)
            out.push_back(face.color);
    }
    return out;
}

} // namespace

// The grey and red-to-blue scales are checked on the view's faces below.
TEST(ParticleColorMap, YellowToBlueRunsBetweenItsEndsAndUnknownScalesAreRedToBlue)
{
    ParticleColorMap map;
    map.setScale(2);
    EXPECT_EQ(map.entry(0), (Rgba{1.0f, 1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(map.entry(255), (Rgba{0.0f, 0.0f, 1.0f, 1.0f}));
    map.setScale(7);
    EXPECT_EQ(map.entry(0), (Rgba{1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(map.entry(255), (Rgba{0.0f, 0.0f, 1.0f, 1.0f}));
}

TEST(ParticleColorMap, LooksUpTheRangeEndsTheMiddleAndBeyond)
{
    EXPECT_EQ(ParticleColorMap::entryIndex(10.0, 10.0f, 20.0f), 0);
    EXPECT_EQ(ParticleColorMap::entryIndex(20.0, 10.0f, 20.0f), 255);
    EXPECT_EQ(ParticleColorMap::entryIndex(15.0, 10.0f, 20.0f), 127); // 127.5 truncated
    EXPECT_EQ(ParticleColorMap::entryIndex(5.0, 10.0f, 20.0f), 0);
    EXPECT_EQ(ParticleColorMap::entryIndex(99.0, 10.0f, 20.0f), 255);
    EXPECT_EQ(ParticleColorMap::entryIndex(-3.0, -3.0f, 5.0f), 0);
    // An empty range: every value in it takes the first entry.
    EXPECT_EQ(ParticleColorMap::entryIndex(4.0, 4.0f, 4.0f), 0);

    ParticleColorMap map;
    map.setRange(0.0f, 10.0f);
    EXPECT_EQ(map.colorOf(10.0), gray(255));
    EXPECT_EQ(map.colorOf(5.0), gray(127));
}

TEST(ParticleFieldView, ColoursCountedCellsOnTheScaleAndTheRestInTheirMaterial)
{
    // A row of three silicon cells holding 0, 5 and 10 P-type particles.
    auto volume = flatVolume(3, 1, 1, 1, kSilicon);
    addField(*volume, ParticleCountField::kTypePName, {{1, 5}, {2, 10}});
    TotalVolumePainter &painter = volume->painter();
    painter.applyOptions(particleView(1, 0));
    painter.rebuild();

    const auto &view = painter.particleFieldView();
    EXPECT_EQ(view.colorMap().minimum(), 0.0f);
    EXPECT_EQ(view.colorMap().maximum(), 10.0f);
    const std::vector<QuadFace> &faces = view.opaqueFaces();
    EXPECT_EQ(faces.size(), 14u); // 5 + 4 + 5 faces: the row shows no faces between its cells
    EXPECT_TRUE(view.translucentFaces().empty());
    const Rgba silicon = painter.materialColor(kSilicon);
    EXPECT_EQ(colorsAtX(faces, 0.0f), std::vector<Rgba>(5, silicon));
    EXPECT_EQ(colorsAtX(faces, 1.0f), std::vector<Rgba>(4, gray(127)));
    EXPECT_EQ(colorsAtX(faces, 2.0f), std::vector<Rgba>(5, gray(255)));

    // The N-type distribution is absent: the range is 0 to 1 and every cell shows its material.
    painter.applyOptions(particleView(0, 0));
    painter.rebuild();
    EXPECT_EQ(view.colorMap().maximum(), 1.0f);
    for (const QuadFace &face : view.opaqueFaces())
        EXPECT_EQ(face.color, silicon);
}

TEST(ParticleFieldView, SignedSumRangesOverPMinusNOfTheCellsInTheWalk)
{
    auto volume = flatVolume(4, 1, 1, 1, kSilicon);
    addField(*volume, ParticleCountField::kTypeNName, {{0, 8}, {1, 2}, {3, 100}});
    addField(*volume, ParticleCountField::kTypePName, {{1, 6}});
    {
        // Cell 3 takes no part in the walk, so its count does not widen the range.
        const Model::Automaton::CellLock lock(*volume);
        lock.cells()[3].setFixed(true);
    }
    TotalVolumePainter &painter = volume->painter();
    painter.applyOptions(particleView(2, 1));
    painter.rebuild();
    const auto &view = painter.particleFieldView();
    EXPECT_EQ(view.colorMap().minimum(), -8.0f);
    EXPECT_EQ(view.colorMap().maximum(), 4.0f);
    const auto &faces = view.opaqueFaces();
    EXPECT_EQ(colorsAtX(faces, 0.0f).front(), (Rgba{1.0f, 0.0f, 0.0f, 1.0f})); // −8: red end
    EXPECT_EQ(colorsAtX(faces, 1.0f).front(), (Rgba{0.0f, 0.0f, 1.0f, 1.0f})); // +4: blue end
    EXPECT_EQ(colorsAtX(faces, 2.0f).front(), painter.materialColor(kSilicon)); // 0: material
}

TEST(ParticleFieldView, TranslucentCellsShowFacesOnlyTowardsEmptySpaceAndHighlightWhenSelected)
{
    const uint32_t kGlass = 9001;
    const Rgba glassColor{0.2f, 0.4f, 0.6f, 0.5f};
    ScopedTestMaterials glass({{kGlass, glassColor}});
    // A glass cell beside a silicon cell, with a counted silicon cell on top of the glass.
    auto volume = volumeOf(2, 1, 2, [&](uint32_t x, uint32_t, uint32_t z) { return z == 0 && x == 0 ? kGlass : kSilicon; });
    addField(*volume, ParticleCountField::kTypeNName, {{volume->cellIndex(1, 0, 1), 3}});
    TotalVolumePainter &painter = volume->painter();
    painter.applyOptions(particleView(0, 0));
    painter.rebuild();
    const auto &view = painter.particleFieldView();
    // The glass cell borders silicon on +x and +z, so it shows its four other faces.
    EXPECT_EQ(view.translucentFaces().size(), 4u);
    size_t towardsGlass = 0;
    for (const QuadFace &face : view.opaqueFaces())
        if ((face.normal()[0] < -0.5f && face.vertices[0][0] == 1.0f && face.vertices[0][2] < 1.0f) ||
            (face.normal()[2] < -0.5f && face.vertices[0][2] == 1.0f && face.vertices[0][0] < 1.0f))
            ++towardsGlass;
    EXPECT_EQ(towardsGlass, 2u); // opaque cells keep their faces towards the translucent glass

    for (bool selected : {true, false}) {
        volume->setSelected(selected);
        painter.recolor();
        for (const QuadFace &face : view.translucentFaces())
            EXPECT_EQ(face.color, selected ? Model::Geometry::highlightColor(glassColor) : glassColor) << selected;
    }
}

TEST(ParticleFieldView, BuildsTheSameFacesWhateverTheThreadCount)
{
    auto volume = volumeOf(9, 5, 4, [](uint32_t x, uint32_t y, uint32_t z) { return (x + y + z) % 3 ? kSilicon : 0u; });
    std::vector<std::pair<uint32_t, uint32_t>> counts;
    for (uint32_t i = 0; i < volume->cellCount(); i += 2)
        counts.push_back({i, i % 17});
    addField(*volume, ParticleCountField::kTypeNName, counts);
    std::vector<QuadFace> reference;
    for (int threads : kThreadCounts) {
        ScopedThreadCount count(threads);
        volume->painter().applyOptions(particleView(0, 2));
        volume->painter().rebuild();
        const auto &faces = volume->painter().particleFieldView().opaqueFaces();
        if (reference.empty())
            reference = faces;
        ASSERT_FALSE(reference.empty());
        ASSERT_EQ(faces.size(), reference.size()) << threads;
        for (size_t i = 0; i < faces.size(); ++i)
            EXPECT_TRUE(faces[i].vertices == reference[i].vertices && faces[i].color == reference[i].color)
                << "face " << i << ", " << threads << " threads";
    }
}
