// The cell volume painter drawing into the real view: surfaces of every algorithm, translucency,
// masks, the move preview, picking, drawing while another thread rebuilds, and cuts: the
// columns a masked cut hides and the cells outside the cut box let the background through.

#include "ViewFixture.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/Cuts/CutCellVolumeOperation.h"
#include "Core/Operations/Cuts/MaskedCutCellVolumeOperation.h"
#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Materials/Material.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/MainWindowPresenter.h"
#include "common/Masks.h"
#include "common/Observers.h"

#include <QAction>
#include <QBitArray>
#include <atomic>
#include <functional>
#include <thread>

namespace {

using Model::Automaton::TotalVolume;
using Model::Automaton::TotalVolumePainter;

constexpr uint32_t kRed = 2901;       // opaque
constexpr uint32_t kClearBlue = 2902; // alpha 0.3
constexpr uint32_t kClearGreen = 2903; // alpha 0.3

// 20 × 20 × 10 cells of edge 4 centred on the view's axis in x and y, top face at z = 0: on
// screen a square of 80 × 80 pixels around the centre.
constexpr uint32_t kSizeX = 20, kSizeY = 20, kSizeZ = 10;
constexpr float kCell = 4.0f;

class PainterDrawingTest : public GlTest::ViewTest {
protected:
    void SetUp() override
    {
        GlTest::ViewTest::SetUp();
        if (HasFatalFailure())
            return;
        for (const auto &material : {Model::Materials::Material(kRed, "Red", 1, 1, 0.3f, {0.9f, 0.1f, 0.1f, 1.0f}),
                                     Model::Materials::Material(kClearBlue, "Blue", 1, 1, 0.3f, {0.1f, 0.1f, 0.9f, 0.3f}),
                                     Model::Materials::Material(kClearGreen, "Green", 1, 1, 0.3f, {0.1f, 0.9f, 0.1f, 0.3f})})
            Model::Materials::MaterialFactory::instance()->setMaterial(material);
        // Only the volume is drawn.
        window->presenter().scene().removeObject(box);
    }

    // Cells below `split` (in z) hold `lower`, the others `upper`.
    std::shared_ptr<TotalVolume> addVolume(uint32_t lower, uint32_t upper = 0, uint32_t split = kSizeZ)
    {
        std::vector<uint32_t> materials(size_t(kSizeX) * kSizeY * kSizeZ, upper);
        for (size_t cell = 0; cell < materials.size(); ++cell)
            if (cell % kSizeZ < split) // z is the fastest index
                materials[cell] = lower;
        auto volume = std::make_shared<TotalVolume>(kSizeX, kSizeY, kSizeZ, kCell, kCell, kCell,
                                                    Util::Vector3D(-40.0, -40.0, -40.0), materials);
        // No rebuild: the first frame builds the surfaces.
        window->presenter().scene().addObject(volume);
        return volume;
    }

    // Runs the operation, its options set by `dialog`.
    template <class Op>
    void run(std::function<void(Op &)> dialog)
    {
        auto &model = window->presenter().applicationModel();
        auto op = std::make_shared<Op>(&model);
        Op *raw = op.get();
        op->setOptionsObserver(std::make_shared<TestSupport::CallObserver>([raw, dialog] { dialog(*raw); }));
        model.startOperation(op);
    }

    static bool isBackground(QRgb pixel) { return pixel == kWhite; }
    // Lit red: clearly red, not the background.
    static bool isReddish(QRgb pixel)
    {
        return !isBackground(pixel) && qRed(pixel) > qGreen(pixel) + 20 && qRed(pixel) > qBlue(pixel) + 20;
    }
};

// Every surface algorithm shows the volume's square and the background around it, and a colour
// edited in the catalogue (as "Manage Materials" stores it, nobody asking the painter for
// anything) shows in the next frame.
TEST_F(PainterDrawingTest, EverySurfaceShowsTheVolumeInItsCurrentColour)
{
    auto factory = Model::Materials::MaterialFactory::instance();
    const Model::Materials::Material red = factory->material(kRed);
    Model::Materials::Material green = red;
    green.setColor(Model::Materials::Color{0.1f, 0.9f, 0.1f, 1.0f});
    auto isGreenish = [](QRgb pixel) {
        return pixel != kWhite && qGreen(pixel) > qRed(pixel) + 20 && qGreen(pixel) > qBlue(pixel) + 20;
    };
    auto volume = addVolume(kRed);
    for (int algorithm : {TotalVolumePainter::DirectCubic, TotalVolumePainter::MarchingCubes,
                          TotalVolumePainter::Octree}) {
        SCOPED_TRACE(algorithm);
        volume->painter().applyOptions(false, algorithm);
        const QImage image = frame();
        for (const QPoint inside : {centre(), centre() + QPoint(35, 35), centre() - QPoint(35, 35)})
            EXPECT_TRUE(isReddish(image.pixel(inside))) << std::hex << image.pixel(inside);
        // The square ends 40 pixels from the centre.
        const int w = image.width() - 1, h = image.height() - 1;
        for (const QPoint outside : {centre() + QPoint(45, 0), centre() - QPoint(0, 45), QPoint(0, 0), QPoint(w, 0),
                                     QPoint(0, h), QPoint(w, h)})
            EXPECT_TRUE(isBackground(image.pixel(outside))) << outside.x() << "," << outside.y();

        factory->setMaterial(green);
        QRgb pixel = frame().pixel(centre());
        EXPECT_TRUE(isGreenish(pixel)) << std::hex << pixel;
        factory->setMaterial(red);
        pixel = frame().pixel(centre());
        EXPECT_TRUE(isReddish(pixel)) << std::hex << pixel;
    }
}

TEST_F(PainterDrawingTest, TheFrameAfterTheCellsChangedShowsThem)
{
    auto volume = addVolume(kRed);
    ASSERT_TRUE(isReddish(frame().pixel(centre())));
    {
        // As a process step changes cells: nobody asks the painter for anything.
        const Model::Automaton::CellLock lock(*volume);
        for (uint32_t cell = 0; cell < volume->cellCount() / 2; ++cell) // x is the slowest index
            lock.cells()[cell].setMaterial(0);
    }
    const QImage image = frame();
    EXPECT_TRUE(isBackground(image.pixel(centre() - QPoint(20, 0)))) << "the half at low x is gone";
    EXPECT_TRUE(isReddish(image.pixel(centre() + QPoint(20, 0))));
    EXPECT_EQ(volume->painter().buildCount(), 2u);
}

TEST_F(PainterDrawingTest, NothingIsDrawnWithoutFacesOrWhileHidden)
{
    auto volume = addVolume(kRed);
    view->setDrawOutlines(true);
    window->action("actionRender_Objects")->trigger();
    ASSERT_FALSE(view->drawFaces());
    QImage image = frame();
    EXPECT_TRUE(isBackground(image.pixel(centre())));
    // Not even outlines, nor at the square's edge.
    EXPECT_TRUE(isBackground(image.pixel(centre() + QPoint(40, 0))));
    EXPECT_TRUE(isBackground(image.pixel(centre() + QPoint(39, 39))));

    view->setDrawFaces(true);
    EXPECT_TRUE(isReddish(frame().pixel(centre())));

    volume->painter().setHidden(true);
    EXPECT_TRUE(isBackground(frame().pixel(centre())));
    volume->painter().setHidden(false);
    EXPECT_TRUE(isReddish(frame().pixel(centre())));
}

TEST_F(PainterDrawingTest, DrawingLeavesTheMatrixAndStateAsItFoundThem)
{
    // Drawn twice in one frame, a volume at a shifted origin must not shift the next object.
    auto first = addVolume(kRed);
    auto shifted = std::make_shared<TotalVolume>(2, 2, 2, kCell, kCell, kCell, Util::Vector3D(150.0, 0.0, 0.0),
                                                 std::vector<uint32_t>(8, kRed));
    window->presenter().scene().addObject(shifted);
    window->presenter().scene().addObject(box);
    const QImage image = frame();
    // The fixture's green box (edge 40, unlit) is drawn after both volumes at the origin, where
    // it covers the red volume's top face (z = 0 < 20).
    EXPECT_EQ(image.pixel(centre()), kBoxColor);
    EXPECT_TRUE(isReddish(image.pixel(centre() + QPoint(30, 0))));
    // The small volume sits at x = 150..158, y = 0..8 (screen y grows downwards).
    EXPECT_TRUE(isReddish(image.pixel(centre() + QPoint(154, -4))));
    EXPECT_TRUE(isBackground(image.pixel(centre() + QPoint(164, -4))));
}

// Blending with depth writes off: the face drawn last weighs most, so the nearer of two stacked
// translucent bodies must dominate from either side, and an opaque body shows through a
// translucent cover.
TEST_F(PainterDrawingTest, TranslucentBodiesBlendWithWhatLiesBehindThem)
{
    auto plain = addVolume(kRed);
    const QRgb red = frame().pixel(centre());
    ASSERT_TRUE(isReddish(red));
    window->presenter().scene().removeObject(plain);

    // The top half is translucent blue, seen from above in front of the red half.
    auto covered = addVolume(kRed, kClearBlue, kSizeZ / 2);
    const QRgb blend = frame().pixel(centre());
    EXPECT_GT(qBlue(blend), qBlue(red) + 15) << std::hex << blend << " over " << red;
    EXPECT_LT(qRed(blend), qRed(red));
    EXPECT_GT(qRed(blend), qRed(red) / 2) << "the red below must still dominate a 0.3 cover";
    EXPECT_GT(qRed(blend), qBlue(blend));
    window->presenter().scene().removeObject(covered);

    // Over nothing: mostly background white, tinted blue.
    auto alone = addVolume(kClearBlue);
    QRgb pixel = frame().pixel(centre());
    EXPECT_FALSE(isBackground(pixel));
    EXPECT_GT(qRed(pixel), 120);
    EXPECT_GT(qBlue(pixel), qRed(pixel));
    window->presenter().scene().removeObject(alone);

    addVolume(kClearGreen, kClearBlue, kSizeZ / 2); // blue above green
    pixel = frame().pixel(centre());
    EXPECT_GT(qBlue(pixel), qGreen(pixel) + 5) << "from above, blue is nearer: " << std::hex << pixel;
    window->setView("bottom");
    pixel = frame().pixel(centre());
    EXPECT_FALSE(isBackground(pixel));
    EXPECT_GT(qGreen(pixel), qBlue(pixel) + 5) << "from below, green is nearer: " << std::hex << pixel;
}

TEST_F(PainterDrawingTest, TopMaskTintsOnlyTheMaskedColumnsGreen)
{
    auto volume = addVolume(kRed);
    const QImage before = frame();
    // Width along x is the full volume, height along y the row stride; only x < 10 is set.
    QBitArray bits(int(kSizeX * kSizeY));
    for (uint32_t x = 0; x < kSizeX / 2; ++x)
        for (uint32_t y = 0; y < kSizeY; ++y)
            bits.setBit(int(x * kSizeY + y));
    volume->setTopMask(bits, kSizeX, kSizeY);
    const QImage after = frame();

    const QPoint left = centre() - QPoint(20, 0);
    const QPoint right = centre() + QPoint(20, 0);
    EXPECT_GT(qGreen(after.pixel(left)), qGreen(before.pixel(left)) + 30) << std::hex << after.pixel(left);
    EXPECT_LT(qRed(after.pixel(left)), qRed(before.pixel(left)));
    EXPECT_EQ(after.pixel(right), before.pixel(right));
    EXPECT_TRUE(isBackground(after.pixel(centre() - QPoint(60, 0)))) << "masks stay within the volume";

    // A bottom mask lies under the opaque volume and does not show from above.
    volume->setTopMask(QBitArray(int(kSizeX * kSizeY)), kSizeX, kSizeY);
    volume->setBottomMask(bits, kSizeX, kSizeY);
    EXPECT_EQ(frame().pixel(left), before.pixel(left));

    // A wider and taller grid than the volume, every bit set: only the volume's columns show.
    volume->setBottomMask(QBitArray(int(kSizeX * kSizeY)), kSizeX, kSizeY);
    const uint32_t width = kSizeX + 10, height = kSizeY + 10;
    volume->setTopMask(QBitArray(int(width * height), true), width, height);
    const QImage clipped = frame();
    EXPECT_GT(qGreen(clipped.pixel(centre())), qGreen(before.pixel(centre())) + 30);
    EXPECT_TRUE(isBackground(clipped.pixel(centre() + QPoint(45, 0))));
    EXPECT_TRUE(isBackground(clipped.pixel(centre() - QPoint(0, 45))));
}

TEST_F(PainterDrawingTest, TemporaryVolumeIsDrawnAtItsPreviewDisplacement)
{
    auto volume = addVolume(kRed);
    volume->setTemporary(true);
    volume->setTemporaryDisplacement(Util::Vector3D(100.0, 0.0, 0.0));
    QImage image = frame();
    EXPECT_TRUE(isBackground(image.pixel(centre())));
    // Inside a cell: the cell edges carry the preview's outlines.
    EXPECT_TRUE(isReddish(image.pixel(centre() + QPoint(102, -2))))
        << std::hex << image.pixel(centre() + QPoint(102, -2)) << std::dec << " view " << view->width();

    // The preview is outlined cell by cell in another colour than its faces.
    auto outlinedPixels = [this](const QImage &shot, int from, int to) {
        int count = 0;
        for (int dx = from; dx < to; ++dx)
            count += isReddish(shot.pixel(centre() + QPoint(dx, -2))) ? 0 : 1;
        return count;
    };
    EXPECT_GE(outlinedPixels(image, 64, 136), 10);

    volume->setTemporary(false);
    image = frame();
    EXPECT_EQ(outlinedPixels(image, -36, 36), 0) << "no outlines when not asked for";
    EXPECT_TRUE(isReddish(image.pixel(centre())));
    EXPECT_TRUE(isBackground(image.pixel(centre() + QPoint(130, 0))));
}

TEST_F(PainterDrawingTest, ParticleFieldViewDrawsCountedCellsOnTheColourScale)
{
    auto volume = addVolume(kRed);
    Model::Rendering::VisualizationOptions options;
    options.surfaceAlgorithm = TotalVolumePainter::ParticleCountField;
    options.particleDistribution = Model::Rendering::VisualizationOptions::TypeP;
    options.colorScale = Model::Rendering::VisualizationOptions::YellowToBlue;
    volume->painter().applyOptions(options);
    // Without a field every cell shows its material.
    EXPECT_TRUE(isReddish(frame().pixel(centre())));

    // Ten particles everywhere but one corner cell with one: the top shows the blue end.
    auto field = std::make_shared<Model::Automaton::ParticleCountField>(volume->cellCount());
    for (uint32_t cell = 0; cell < volume->cellCount(); ++cell)
        field->counters(cell)[Model::Automaton::ParticleCountField::kStaySlot] = cell == 0 ? 1 : 10;
    volume->setParticleCountField(Model::Automaton::ParticleCountField::kTypePName, field);
    volume->painter().applyOptions(options);
    const QRgb pixel = frame().pixel(centre());
    EXPECT_TRUE(qBlue(pixel) > qRed(pixel) + 20 && qBlue(pixel) > qGreen(pixel) + 20) << std::hex << pixel;
}

TEST_F(PainterDrawingTest, PickingTheVolumeTogglesItsSelectionAndHighlight)
{
    auto volume = addVolume(kRed);
    auto &model = window->presenter().applicationModel();
    const QRgb plain = frame().pixel(centre());
    window->action("actionSelect")->trigger();

    EXPECT_FALSE(view->pickAt(QPoint(5, 5))) << "nothing there";
    EXPECT_FALSE(volume->isSelected());

    EXPECT_TRUE(view->pickAt(centre() + QPoint(30, -30)));
    EXPECT_TRUE(volume->isSelected());
    ASSERT_EQ(model.selectedObjects().size(), 1);
    EXPECT_EQ(model.selectedObjects().first(), volume);
    const QRgb highlighted = frame().pixel(centre());
    EXPECT_NE(highlighted, plain);
    EXPECT_TRUE(volume->painter().colorsShowSelection());

    EXPECT_TRUE(view->pickAt(centre()));
    EXPECT_FALSE(volume->isSelected());
    EXPECT_TRUE(model.selectedObjects().isEmpty());
    EXPECT_EQ(frame().pixel(centre()), plain);

    // The pick proxy follows the volume's origin: x = 100..120, y = 100..120 (screen y grows
    // downwards).
    auto shifted = std::make_shared<TotalVolume>(5, 5, 5, kCell, kCell, kCell, Util::Vector3D(100.0, 100.0, 0.0),
                                                 std::vector<uint32_t>(125, kRed));
    window->presenter().scene().addObject(shifted);
    EXPECT_TRUE(view->pickAt(centre() + QPoint(110, -110)));
    EXPECT_TRUE(shifted->isSelected());
    EXPECT_FALSE(volume->isSelected());
}

TEST_F(PainterDrawingTest, FramesDrawWhileAnotherThreadRebuilds)
{
    auto volume = addVolume(kRed, kClearBlue, kSizeZ / 2);
    std::atomic<bool> done{false};
    std::thread builder([&] {
        for (int i = 0; i < 30; ++i) {
            volume->painter().rebuild();
            volume->painter().recolor();
        }
        done = true;
    });
    int frames = 0;
    while (!done || frames < 3) {
        const QImage image = frame();
        EXPECT_FALSE(isBackground(image.pixel(centre())));
        ++frames;
    }
    builder.join();
    EXPECT_GE(frames, 3);
}

TEST_F(PainterDrawingTest, AMaskedCutOpensTheHiddenColumnsAndUndoClosesThem)
{
    addVolume(kRed);
    const QPoint left = centre() - QPoint(20, 0), right = centre() + QPoint(20, 0);
    ASSERT_TRUE(isReddish(frame().pixel(right)));
    const auto keepLeft = TestSupport::maskOf(kSizeX, kSizeY, [](uint32_t x, uint32_t) { return x < kSizeX / 2; });
    run<Core::Operations::MaskedCutCellVolumeOperation>(
        [&](Core::Operations::MaskedCutCellVolumeOperation &op) { op.setMask(keepLeft); });

    const QImage image = frame();
    EXPECT_TRUE(isReddish(image.pixel(left))) << std::hex << image.pixel(left);
    EXPECT_TRUE(isBackground(image.pixel(right))) << std::hex << image.pixel(right);

    window->presenter().applicationModel().undoRedo().undo();
    EXPECT_TRUE(isReddish(frame().pixel(right)));
}

TEST_F(PainterDrawingTest, CellsOutsideTheCutBoxAreNotDrawn)
{
    addVolume(kRed);
    run<Core::Operations::CutCellVolumeOperation>([&](Core::Operations::CutCellVolumeOperation &op) {
        op.setCutPlanes(Core::Operations::CutBox{{15, 0, 0}, {20, 20, 10}}, true);
    });
    const QImage image = frame();
    // Probed through the view's own matrices: the view may have framed the volume.
    EXPECT_TRUE(isBackground(image.pixel(screenPointOf(Util::Vector3D(-20.0, 0.0, 0.0)))));
    // x from 15 to 20 cells lies 20 to 40 length units right of the volume's centre.
    const QPoint kept = screenPointOf(Util::Vector3D(30.0, 0.0, 0.0));
    EXPECT_TRUE(isReddish(image.pixel(kept))) << std::hex << image.pixel(kept);
}

} // namespace
