// Cuts as the view shows them: from the top, the columns a masked cut hides and the cells outside
// the cut box let the background through, and undo brings the columns back.

#include "ViewFixture.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/Cuts/CutCellVolumeOperation.h"
#include "Core/Operations/Cuts/MaskedCutCellVolumeOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/Material.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/MainWindowPresenter.h"
#include "common/Masks.h"
#include "common/Observers.h"

#include <QBitArray>
#include <functional>

namespace {

using Model::Automaton::TotalVolume;

constexpr uint32_t kRed = 2911;
// 20 × 20 × 10 cells of edge 4 centred on the view's axis: a square of 80 × 80 pixels on screen.
constexpr uint32_t kSize = 20, kHeight = 10;
constexpr float kCell = 4.0f;

class CutDrawingTest : public GlTest::ViewTest {
protected:
    void SetUp() override
    {
        GlTest::ViewTest::SetUp();
        if (HasFatalFailure())
            return;
        Model::Materials::MaterialFactory::instance()->setMaterial(
            Model::Materials::Material(kRed, "Cut red", 1, 1, 0.3f, {0.9f, 0.1f, 0.1f, 1.0f}));
        window->presenter().scene().removeObject(box);
        volume = std::make_shared<TotalVolume>(kSize, kSize, kHeight, kCell, kCell, kCell,
                                               Util::Vector3D(-40.0, -40.0, -40.0),
                                               std::vector<uint32_t>(size_t(kSize) * kSize * kHeight, kRed));
        window->presenter().scene().addObject(volume);
    }

    Core::ApplicationModel &model() { return window->presenter().applicationModel(); }

    template <class Op>
    void run(std::function<void(Op &)> dialog)
    {
        auto op = std::make_shared<Op>(&model());
        Op *raw = op.get();
        op->setOptionsObserver(std::make_shared<TestSupport::CallObserver>([raw, dialog] { dialog(*raw); }));
        model().startOperation(op);
    }

    static bool isRed(QRgb pixel) { return pixel != kWhite && qRed(pixel) > qGreen(pixel) + 20; }

    std::shared_ptr<TotalVolume> volume;
    const QPoint left = QPoint(-20, 0);
    const QPoint right = QPoint(20, 0);
};

} // namespace

TEST_F(CutDrawingTest, AMaskedCutOpensTheHiddenColumnsAndUndoClosesThem)
{
    ASSERT_TRUE(isRed(frame().pixel(centre() + right)));
    const auto keepLeft = TestSupport::maskOf(kSize, kSize, [](uint32_t x, uint32_t) { return x < kSize / 2; });
    run<Core::Operations::MaskedCutCellVolumeOperation>(
        [&](Core::Operations::MaskedCutCellVolumeOperation &op) { op.setMask(keepLeft); });

    QImage image = frame();
    EXPECT_TRUE(isRed(image.pixel(centre() + left))) << std::hex << image.pixel(centre() + left);
    EXPECT_EQ(image.pixel(centre() + right), kWhite) << std::hex << image.pixel(centre() + right);

    model().undoRedo().undo();
    EXPECT_TRUE(isRed(frame().pixel(centre() + right)));
}

TEST_F(CutDrawingTest, CellsOutsideTheCutBoxAreNotDrawn)
{
    run<Core::Operations::CutCellVolumeOperation>([&](Core::Operations::CutCellVolumeOperation &op) {
        op.setCutPlanes(Core::Operations::CutBox{{15, 0, 0}, {20, 20, 10}}, true);
    });
    const QImage image = frame();
    // Probed through the view's own matrices: the view may have framed the volume.
    EXPECT_EQ(image.pixel(screenPointOf(Util::Vector3D(-20.0, 0.0, 0.0))), kWhite);
    // x from 15 to 20 cells lies 20 to 40 length units right of the volume's centre.
    const QPoint kept = screenPointOf(Util::Vector3D(30.0, 0.0, 0.0));
    EXPECT_TRUE(isRed(image.pixel(kept))) << std::hex << image.pixel(kept);
}
