// Marching-cubes vertices show their materials' colours from the catalogue as it is when they
// are drawn: a colour edited in the catalogue marks every painter out of date, and the next draw
// rebuilds with it. A material the catalogue does not hold keeps the colour the surface has for
// it: the one it last had from the catalogue, or mid-grey if it never had one. Painting here runs
// without a GL context; only the colours the surface leaves behind are looked at.

#include "PainterTestSupport.h"

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

class MarchingCubesColors : public ::testing::Test {
protected:
    // Cells of `material` at (1, 1, 1) and of kUnknown at (3, 3, 3), drawn as marching cubes.
    std::unique_ptr<TotalVolume> volumeShowing(uint32_t material)
    {
        auto volume = emptyVolume(5, 5, 5);
        setMaterial(*volume, 1, 1, 1, material);
        setMaterial(*volume, 3, 3, 3, kUnknown);
        volume->painter().applyOptions(false, TotalVolumePainter::MarchingCubes);
        return volume;
    }
    void draw(TotalVolume &volume) { volume.painter().paint(true, false, Util::Vector3D(0, 0, 100)); }
    static Rgba shown(TotalVolume &volume, uint32_t material)
    {
        return volume.painter().marchingCubeSurface().color(material);
    }

    ScopedTestMaterials materials;
};

TEST_F(MarchingCubesColors, ACatalogueColourEditShowsAtTheNextDraw)
{
    auto volume = volumeShowing(kMagenta);
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
    EXPECT_THAT(shown(*volume, kMagenta), Pointwise(FloatNear(1e-6f), Rgba{0.4f, 0.2f, 0.6f, 1.0f}));
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

TEST_F(MarchingCubesColors, AMaterialTheCatalogueDoesNotHoldKeepsItsColour)
{
    ScopedTestMaterials::add(kDropped, kEditedColor);
    auto volume = volumeShowing(kDropped);
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

TEST_F(MarchingCubesColors, TheCatalogueCountsTheCallsThatChangeIt)
{
    auto factory = MaterialFactory::instance();
    const uint64_t before = factory->changeCount();
    ScopedTestMaterials::add(kDropped, kEditedColor);
    EXPECT_EQ(factory->changeCount(), before + 1) << "a new entry";
    ScopedTestMaterials::add(kDropped, kEditedColor);
    EXPECT_EQ(factory->changeCount(), before + 1) << "the same entry again";
    ScopedTestMaterials::add(kDropped, kGrey);
    EXPECT_EQ(factory->changeCount(), before + 2) << "a new colour";
    EXPECT_FALSE(factory->setMaterial(Model::Materials::Material()));
    EXPECT_EQ(factory->changeCount(), before + 2) << "id 0 is refused";
    factory->createDefaultMaterials();
    EXPECT_EQ(factory->changeCount(), before + 3);
}

} // namespace
