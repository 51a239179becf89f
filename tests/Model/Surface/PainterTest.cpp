// The volume painter's state: cut box and clip planes, options, empty voxel outlines and the
// colours that follow the selection.

#include "PainterTestSupport.h"

#include <gtest/gtest.h>

using namespace PainterTestSupport;
using Model::Automaton::TotalVolumePainter;

namespace {

class Painter : public ::testing::Test {
protected:
    ScopedTestMaterials materials;
};

void expectColor(const Rgba &actual, const Rgba &expected)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "channel " << i;
}

TEST_F(Painter, CutBoxStartsAsTheWholeVolumeAndSetsTheClipPlanes)
{
    auto volume = emptyVolume(7, 8, 9);
    auto &painter = volume->painter();
    EXPECT_EQ(painter.cutLimits().upper, (std::array<uint32_t, 3>{7, 8, 9}));

    const uint32_t lower[3] = {1, 2, 3};
    const uint32_t upper[3] = {4, 5, 6};
    painter.setCutLimits(lower, upper);
    EXPECT_EQ(painter.cutLimits().lower, (std::array<uint32_t, 3>{1, 2, 3}));
    using Plane = TotalVolumePainter::ClipPlane;
    EXPECT_EQ(painter.clipPlanes(), (std::array<Plane, 6>{Plane{-1, 0, 0, 1}, Plane{1, 0, 0, -4}, Plane{0, -1, 0, 2},
                                                          Plane{0, 1, 0, -5}, Plane{0, 0, -1, 3}, Plane{0, 0, 1, -6}}));
}

TEST_F(Painter, PaintHighlightsASelectedVolumeOnceAndRestoresItWhenDeselected)
{
    auto volume = emptyVolume(4, 3, 3);
    setMaterial(*volume, 1, 1, 1, kMagenta);
    setMaterial(*volume, 2, 1, 1, kGlass);
    auto &painter = volume->painter();
    painter.rebuild();
    const Util::Vector3D eye(0, 0, 100);
    const Rgba magenta{0.8f, 0.2f, 0.5f, 1.0f}, litMagenta{0.1f, 0.5f, 0.8f, 1.0f};
    const Rgba glass{0.2f, 0.6f, 0.9f, 0.5f}, litGlass{0.5f, 0.9f, 0.2f, 0.5f};

    volume->setSelected(true);
    painter.setHidden(true);
    painter.paint(true, true, eye);
    expectColor(painter.opaqueFaces().front().color, magenta);

    painter.setHidden(false);
    painter.paint(true, true, eye);
    painter.paint(true, true, eye);
    painter.recolor();
    EXPECT_TRUE(painter.colorsShowSelection());
    for (const auto &face : painter.opaqueFaces()) {
        expectColor(face.color, litMagenta);
        expectColor(face.outlineColor, litMagenta);
    }
    expectColor(painter.translucentFaces().back().color, litGlass);
    expectColor(painter.translucentTree()->faces().front().color, litGlass);

    // A rebuild brings plain colours, and the next paint the highlight again.
    painter.rebuild();
    expectColor(painter.opaqueFaces().front().color, magenta);
    painter.paint(true, true, eye);
    expectColor(painter.opaqueFaces().front().color, litMagenta);

    volume->setSelected(false);
    painter.paint(true, true, eye);
    EXPECT_FALSE(painter.colorsShowSelection());
    expectColor(painter.opaqueFaces().back().outlineColor, magenta);
    expectColor(painter.translucentTree()->faces().back().color, glass);
}

TEST_F(Painter, RebuildTakesEditedMaterialColours)
{
    auto volume = emptyVolume(3, 3, 3);
    setMaterial(*volume, 1, 1, 1, kMagenta);
    auto &painter = volume->painter();
    painter.rebuild();
    ScopedTestMaterials::add(kMagenta, {0.1f, 0.2f, 0.3f, 0.5f});
    painter.rebuild();
    EXPECT_TRUE(painter.opaqueFaces().empty());
    ASSERT_EQ(painter.translucentFaces().size(), 6u);
    expectColor(painter.translucentFaces().front().color, {0.1f, 0.2f, 0.3f, 0.5f});
    expectColor(painter.materialColors().at(0), {0, 0, 0, 0});
}

TEST_F(Painter, EmptyVoxelOutlinesCoverEveryEmptyCellOfTheCutBox)
{
    auto volume = emptyVolume(4, 3, 2, 2.0f, 1.0f, 1.0f);
    setMaterial(*volume, 0, 0, 0, kSi);
    setMaterial(*volume, 1, 0, 0, kSi);
    setCutCount(*volume, 1, 0, 0, 1); // cut but not empty: no outline
    setCutCount(*volume, 2, 2, 1, 1); // empty and cut: outlined
    auto &painter = volume->painter();
    const uint32_t lower[3] = {0, 0, 0};
    const uint32_t upper[3] = {3, 3, 2};
    painter.setCutLimits(lower, upper);
    painter.applyOptions(true, TotalVolumePainter::DirectCubic);
    painter.update();

    const auto outlines = painter.emptyVoxelFaces();
    ASSERT_EQ(outlines.size(), size_t((3 * 3 * 2 - 2) * 6));
    for (size_t i = 0; i < outlines.size(); ++i) {
        EXPECT_EQ(outlines[i].normalIndex, i % 6);
        EXPECT_EQ(outlines[i].color, TotalVolumePainter::kEmptyVoxelOutlineColor);
        EXPECT_LE(outlines[i].vertices[2][0], 6.0f); // nothing from x = 3
    }
    // Face 1 of the first empty cell, (0, 0, 1).
    EXPECT_EQ(outlines[1].vertices[0], (Model::Geometry::Point3f{0.0f, 0.0f, 2.0f}));
    {
        ScopedMaxThreads threads(3);
        painter.rebuild();
        EXPECT_EQ(describe(painter.emptyVoxelFaces()), describe(outlines));
    }
    painter.applyOptions(false, TotalVolumePainter::DirectCubic);
    painter.update();
    EXPECT_TRUE(painter.emptyVoxelFaces().empty());
}

TEST_F(Painter, TheChosenAlgorithmBuildsItsSurfaceBesideTheDirectFaces)
{
    auto volume = emptyVolume(4, 4, 4);
    setMaterial(*volume, 1, 1, 1, kSi);
    setMaterial(*volume, 2, 1, 1, kSi);
    auto &painter = volume->painter();

    painter.applyOptions(false, TotalVolumePainter::MarchingCubes);
    painter.update();
    EXPECT_GT(painter.marchingCubeSurface().triangleCount(), 0u);
    EXPECT_EQ(painter.opaqueFaces().size(), 10u);

    painter.applyOptions(false, TotalVolumePainter::Octree);
    painter.update();
    EXPECT_FALSE(painter.octreeSurface().opaqueFaces().empty());
    EXPECT_EQ(painter.opaqueFaces().size(), 10u);
}

} // namespace
