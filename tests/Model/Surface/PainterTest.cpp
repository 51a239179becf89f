// The volume painter: cut box and clip planes, the colours that follow the selection and the
// catalogue, empty voxel outlines, and building its surfaces only when they are drawn (or asked
// for) and out of date. Painting here runs without a GL context; only the geometry and colours
// it leaves behind are looked at.

#include "PainterTestSupport.h"

#include "Model/Automaton/CellLock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace PainterTestSupport;
using Model::Automaton::TotalVolumePainter;
using Model::Materials::MaterialFactory;
using ::testing::FloatNear;
using ::testing::Pointwise;

namespace {

constexpr Rgba kMagentaColor{0.8f, 0.2f, 0.5f, 1.0f};
constexpr Rgba kEditedColor{0.1f, 0.9f, 0.3f, 1.0f};
constexpr Rgba kGrey{0.5f, 0.5f, 0.5f, 1.0f};
constexpr uint32_t kDropped = 2905; // a test material the catalogue loses

class Painter : public ::testing::Test {
protected:
    void draw(TotalVolume &volume) { volume.painter().paint(true, true, Util::Vector3D(0, 0, 100)); }

    // Cells of `material` at (1, 1, 1) and of kUnknown at (3, 3, 3), drawn as marching cubes.
    std::unique_ptr<TotalVolume> marchingCubesShowing(uint32_t material)
    {
        auto volume = emptyVolume(5, 5, 5);
        setMaterial(*volume, 1, 1, 1, material);
        setMaterial(*volume, 3, 3, 3, kUnknown);
        volume->painter().applyOptions(false, TotalVolumePainter::MarchingCubes);
        return volume;
    }
    static Rgba shown(TotalVolume &volume, uint32_t material)
    {
        return volume.painter().marchingCubeSurface().color(material);
    }

    ScopedTestMaterials materials;
};

void expectColor(const Rgba &actual, const Rgba &expected)
{
    EXPECT_THAT(actual, Pointwise(FloatNear(1e-6f), expected));
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

TEST_F(Painter, AVolumeChangedButNotDrawnBuildsNothingAndTheFirstDrawShowsTheLastChange)
{
    auto volume = emptyVolume(6, 5, 4);
    auto &painter = volume->painter();
    for (uint32_t x = 0; x < 6; ++x)
        setMaterial(*volume, x, 2, 1, x % 2 ? kSi : kGlass);
    setMaterial(*volume, 5, 2, 1, kMagenta);
    EXPECT_EQ(painter.buildCount(), 0u);
    EXPECT_FALSE(painter.isCurrent());
    EXPECT_TRUE(painter.opaqueFaces().empty());

    draw(*volume);
    EXPECT_EQ(painter.buildCount(), 1u);
    EXPECT_TRUE(painter.isCurrent());
    EXPECT_EQ(count(painter.opaqueFaces(), kMagenta), 6u);
    EXPECT_EQ(count(painter.opaqueFaces(), kSi), 12u);
    EXPECT_EQ(count(painter.translucentFaces(), kGlass), 3u * 6u - 5u) << "all but those toward opaque cells";

    draw(*volume);
    EXPECT_FALSE(painter.update());
    EXPECT_EQ(painter.buildCount(), 1u) << "nothing changed since the last build";

    // Whoever needs the geometry without drawing asks for it.
    setMaterial(*volume, 5, 2, 1, 0);
    EXPECT_TRUE(painter.update());
    EXPECT_EQ(count(painter.opaqueFaces(), kMagenta), 0u);
}

TEST_F(Painter, CutBoxAndOptionsTakeEffectAtTheNextDraw)
{
    auto volume = emptyVolume(4, 4, 4);
    fill(*volume, kSi);
    auto &painter = volume->painter();
    draw(*volume);
    ASSERT_EQ(painter.opaqueFaces().size(), 6u * 16u);

    const uint32_t lower[3] = {0, 0, 0};
    const uint32_t upper[3] = {1, 4, 4};
    painter.setCutLimits(lower, upper);
    EXPECT_FALSE(painter.isCurrent());
    draw(*volume);
    EXPECT_EQ(painter.opaqueFaces().size(), 2u * (4 * 4 + 4 + 4));

    painter.applyOptions(true, TotalVolumePainter::Octree);
    EXPECT_FALSE(painter.isCurrent());
    EXPECT_TRUE(painter.octreeSurface().opaqueFaces().empty()) << "not built before it is drawn";
    draw(*volume);
    EXPECT_FALSE(painter.octreeSurface().opaqueFaces().empty());
    EXPECT_EQ(painter.opaqueFaces().size(), 2u * (4 * 4 + 4 + 4)) << "the direct faces are built beside it";
    EXPECT_TRUE(painter.emptyVoxelFaces().empty()) << "the box holds no empty cell";
    EXPECT_EQ(painter.buildCount(), 3u);
}

TEST_F(Painter, WhileAnotherHolderHasTheCellsADrawShowsWhatWasBuiltWithoutWaiting)
{
    auto volume = emptyVolume(4, 4, 4);
    setMaterial(*volume, 1, 1, 1, kSi);
    auto &painter = volume->painter();
    draw(*volume);
    setMaterial(*volume, 2, 2, 2, kOxide);
    {
        // An automaton's run holds the cells; the same thread cannot take them again, which is
        // what any other holder looks like to the painter.
        const Model::Automaton::CellLock running(*volume);
        draw(*volume);
        EXPECT_EQ(painter.buildCount(), 1u);
        EXPECT_EQ(count(painter.opaqueFaces(), kOxide), 0u);
    }
    draw(*volume);
    EXPECT_EQ(painter.buildCount(), 2u);
    EXPECT_EQ(count(painter.opaqueFaces(), kOxide), 6u);
}

// "Manage Materials" stores every row it shows when it is accepted; only a row that differs from
// the catalogue puts the painters out of date, and the next draw shows it on the surface drawn.
TEST_F(Painter, ACatalogueEditThatTurnsAMaterialTranslucentMovesItsFacesAtTheNextDraw)
{
    constexpr Rgba kGlassy{0.1f, 0.2f, 0.3f, 0.5f};
    auto volume = emptyVolume(4, 4, 4);
    setMaterial(*volume, 1, 1, 1, kMagenta);
    setMaterial(*volume, 2, 1, 1, kSi);
    auto &painter = volume->painter();
    draw(*volume);
    ASSERT_EQ(count(painter.opaqueFaces(), kMagenta), 5u);

    ScopedTestMaterials::add(kMagenta, kMagentaColor);
    EXPECT_TRUE(painter.isCurrent()) << "the catalogue holds that already";

    // Turning translucent moves the faces to the other list and uncovers the Si cell's face.
    ScopedTestMaterials::add(kMagenta, kGlassy);
    EXPECT_FALSE(painter.isCurrent());
    draw(*volume);
    EXPECT_EQ(painter.buildCount(), 2u);
    EXPECT_EQ(count(painter.opaqueFaces(), kMagenta), 0u);
    EXPECT_EQ(count(painter.translucentFaces(), kMagenta), 5u) << "not the face toward opaque Si";
    EXPECT_EQ(count(painter.opaqueFaces(), kSi), 6u);
    for (const QuadFace &face : painter.translucentFaces())
        EXPECT_EQ(face.color, kGlassy);
}

TEST_F(Painter, MarchingCubesACatalogueColourEditShowsAtTheNextDraw)
{
    auto volume = marchingCubesShowing(kMagenta);
    TotalVolumePainter &painter = volume->painter();
    draw(*volume);
    ASSERT_EQ(painter.marchingCubeSurface().triangleCount(), 16u);
    EXPECT_EQ(shown(*volume, kMagenta), kMagentaColor);

    // Storing what the catalogue already holds changes nothing.
    ScopedTestMaterials::add(kMagenta, kMagentaColor);
    EXPECT_TRUE(painter.isCurrent());

    ScopedTestMaterials::add(kMagenta, kEditedColor);
    EXPECT_FALSE(painter.isCurrent()) << "the catalogue changed since the build";
    draw(*volume);
    EXPECT_EQ(painter.buildCount(), 2u);
    EXPECT_TRUE(painter.isCurrent());
    EXPECT_EQ(shown(*volume, kMagenta), kEditedColor);
    EXPECT_EQ(painter.materialColor(kMagenta), kEditedColor) << "the cube faces follow as well";
    EXPECT_EQ(painter.marchingCubeSurface().buildCount(), 1u) << "the triangles hold no colours";

    volume->setSelected(true);
    draw(*volume);
    expectColor(shown(*volume, kMagenta), {0.4f, 0.2f, 0.6f, 1.0f});
    expectColor(shown(*volume, kUnknown), {0.8f, 0.8f, 0.8f, 1.0f}); // highlighted like every other colour
    EXPECT_EQ(painter.buildCount(), 2u) << "selecting recolours without building";

    // A colour edit together with a change of the cells builds the triangles again.
    ScopedTestMaterials::add(kMagenta, kMagentaColor);
    setMaterial(*volume, 1, 3, 1, kMagenta);
    draw(*volume);
    EXPECT_EQ(painter.marchingCubeSurface().buildCount(), 2u);
    EXPECT_EQ(painter.marchingCubeSurface().triangleCount(), 24u);
    volume->setSelected(false);
    draw(*volume);
    EXPECT_EQ(shown(*volume, kMagenta), kMagentaColor);
}

TEST_F(Painter, MarchingCubesAMaterialTheCatalogueDoesNotHoldKeepsItsColour)
{
    ScopedTestMaterials::add(kDropped, kEditedColor);
    auto volume = marchingCubesShowing(kDropped);
    draw(*volume);
    EXPECT_EQ(shown(*volume, kDropped), kEditedColor);
    EXPECT_EQ(shown(*volume, kUnknown), kGrey) << "never in the catalogue";

    // The catalogue is replaced by the built-in materials, which do not include the test ones.
    MaterialFactory::instance()->createDefaultMaterials();
    ASSERT_EQ(MaterialFactory::instance()->material(kDropped).materialId(), 0u);
    draw(*volume);
    EXPECT_EQ(volume->painter().buildCount(), 2u);
    EXPECT_EQ(shown(*volume, kDropped), kEditedColor);
    EXPECT_EQ(shown(*volume, kUnknown), kGrey);
}

} // namespace
