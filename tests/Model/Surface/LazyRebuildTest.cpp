// The painter builds its surfaces only when they are drawn (or asked for) and out of date: a
// volume changed many times and never drawn builds nothing, and the first draw after a change,
// a new cut box or new options shows them. Painting here runs without a GL context; only the
// geometry it leaves behind is looked at.

#include "PainterTestSupport.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Model/Scene.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace PainterTestSupport;
using Model::Automaton::TotalVolumePainter;

namespace {

class LazyRebuild : public ::testing::Test {
protected:
    void draw(TotalVolume &volume) { volume.painter().paint(true, true, Util::Vector3D(0, 0, 100)); }

    ScopedTestMaterials materials;
};

TEST_F(LazyRebuild, AVolumeChangedButNotDrawnBuildsNothingAndTheFirstDrawShowsTheLastChange)
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
}

TEST_F(LazyRebuild, DrawingAfterAChangeShowsItWhileReadingTheCellsChangesNothing)
{
    auto volume = emptyVolume(5, 5, 5);
    setMaterial(*volume, 1, 1, 1, kSi);
    auto &painter = volume->painter();
    draw(*volume);
    ASSERT_EQ(painter.opaqueFaces().size(), 6u);

    {
        const Model::Automaton::CellReadLock reading(*volume);
    }
    std::unique_ptr<Model::Object> copy(volume->clone());
    EXPECT_TRUE(painter.isCurrent());

    setMaterial(*volume, 3, 3, 3, kOxide);
    EXPECT_FALSE(painter.isCurrent());
    draw(*volume);
    EXPECT_EQ(count(painter.opaqueFaces(), kOxide), 6u);
    EXPECT_EQ(painter.buildCount(), 2u);

    // Whoever needs the geometry without drawing asks for it.
    setMaterial(*volume, 3, 3, 3, 0);
    EXPECT_TRUE(painter.update());
    EXPECT_EQ(count(painter.opaqueFaces(), kOxide), 0u);
}

TEST_F(LazyRebuild, CutBoxAndOptionsTakeEffectAtTheNextDraw)
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
    EXPECT_TRUE(painter.emptyVoxelFaces().empty()) << "the box holds no empty cell";
    EXPECT_EQ(painter.buildCount(), 3u);
}

TEST_F(LazyRebuild, WhileAnotherHolderHasTheCellsADrawShowsWhatWasBuiltWithoutWaiting)
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
TEST_F(LazyRebuild, ACatalogueColourEditShowsOnCubeFacesAndOctreeQuadsAtTheNextDraw)
{
    constexpr Rgba kMagentaColor{0.8f, 0.2f, 0.5f, 1.0f};
    constexpr Rgba kGlassy{0.1f, 0.2f, 0.3f, 0.5f};
    constexpr Rgba kBlue{0.3f, 0.6f, 0.9f, 1.0f};
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

    painter.applyOptions(false, TotalVolumePainter::Octree);
    draw(*volume);
    ScopedTestMaterials::add(kMagenta, kBlue);
    draw(*volume);
    EXPECT_EQ(painter.buildCount(), 4u);
    const auto &quads = painter.octreeSurface().opaqueFaces();
    ASSERT_EQ(count(quads, kMagenta), 5u);
    for (const QuadFace &face : quads) {
        if (face.materialId == kMagenta) {
            EXPECT_EQ(face.color, kBlue);
        }
    }
}

TEST_F(LazyRebuild, OpeningADocumentBuildsNoSurface)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("lazy.vxf");
    Model::Persistence::DocumentArchive archive;
    {
        Model::Scene written;
        auto volume = std::make_shared<TotalVolume>(3, 3, 3, 1.f, 1.f, 1.f, Util::Vector3D(),
                                                    std::vector<uint32_t>(27, kSi));
        written.addObject(volume);
        ASSERT_EQ(Model::Persistence::DocumentWriter(written, archive).write(file),
                  Model::Persistence::DocumentWriter::Outcome::Written);
        EXPECT_EQ(volume->painter().buildCount(), 0u) << "writing reads the cells only";
    }
    Model::Scene scene;
    ASSERT_EQ(Model::Persistence::DocumentReader(scene, archive).read(file),
              Model::Persistence::DocumentReader::Outcome::Read);
    ASSERT_EQ(scene.objects().size(), 1);
    auto volume = std::dynamic_pointer_cast<TotalVolume>(scene.objects().first());
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->painter().buildCount(), 0u);
    draw(*volume);
    EXPECT_EQ(volume->painter().opaqueFaces().size(), 6u * 9u);
}

} // namespace
