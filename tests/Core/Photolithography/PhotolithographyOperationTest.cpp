// The photolithography operation through the application model: the masks shown on the volume
// while the dialog is open, the console lines, and what it leaves behind.

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "Model/Materials/MaterialIds.h"

#include "common/Cells.h"
#include "common/Observers.h"

#include <gtest/gtest.h>

using namespace TestSupport;
using Core::Operations::PhotolithographyOperation;
using Model::Masks::ImageMask;

namespace {

constexpr uint32_t kSilicon = Model::Materials::kSiliconMaterial;
constexpr uint32_t kPositive = 11;

ImageMask leftHalfCovered(uint32_t width, uint32_t height)
{
    ImageMask mask;
    mask.width = width;
    mask.height = height;
    mask.bits = QBitArray(int(width * height));
    for (uint32_t x = 0; x < width / 2; ++x)
        for (uint32_t y = 0; y < height; ++y)
            mask.bits.setBit(int(x * height + y));
    return mask;
}

struct PhotolithographyOperationTest : ::testing::Test {
    PhotolithographyOperationTest() : log(std::make_shared<MessageLog>(model.inputRequest()))
    {
        model.inputRequest().addObserver(log);
        volume = volumeOf(6, 4, 6, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : z < 4 ? kPositive : 0u; });
        model.scene().addObject(volume);
    }

    // Starts the operation; `dialog` plays the options dialog with the volume chosen.
    std::shared_ptr<PhotolithographyOperation> start(std::function<void(PhotolithographyOperation &)> dialog)
    {
        auto op = std::make_shared<PhotolithographyOperation>(&model);
        PhotolithographyOperation *raw = op.get();
        op->setOptionsObserver(std::make_shared<CallObserver>([raw, dialog] { dialog(*raw); }));
        model.startOperation(op);
        return op;
    }

    Core::ApplicationModel model;
    std::shared_ptr<MessageLog> log;
    std::shared_ptr<TotalVolume> volume;
};

} // namespace

TEST_F(PhotolithographyOperationTest, MasksShowOnTheVolumeWhileTheDialogIsOpenAndGoAfterwards)
{
    auto repaints = std::make_shared<CountingObserver>();
    model.addUpdateObserver(repaints);
    start([&](PhotolithographyOperation &op) {
        const int before = repaints->count;
        op.setTopMask(leftHalfCovered(6, 4));
        EXPECT_GT(repaints->count, before) << "the view is asked to show the mask";
        EXPECT_EQ(volume->topMask(), leftHalfCovered(6, 4).bits);
        EXPECT_EQ(volume->topMaskA(), 6u);
        EXPECT_EQ(volume->topMaskB(), 4u);
        op.setBottomMask(leftHalfCovered(6, 4));
        EXPECT_EQ(volume->bottomMaskA(), 6u);
        op.setMaterial(kPositive);
    });

    EXPECT_EQ(log->lines, (std::vector<std::string>{"Photolithography: Cell volume selected.",
                                                    "Photolithography: Operation finished."}));
    for (uint32_t x = 0; x < 6; ++x)
        EXPECT_EQ(countInColumn(*volume, x, 1, kPositive), x < 3 ? 2u : 0u) << x;
    EXPECT_EQ(volume->topMask().size(), 0);
    EXPECT_EQ(volume->topMaskA(), 0u);
    EXPECT_EQ(volume->bottomMask().size(), 0);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoName(), "") << "photolithography is not undoable";
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::PhotolithographyId));
    EXPECT_TRUE(model.isModified());
}

TEST_F(PhotolithographyOperationTest, MaskOfAnotherSizeIsKeptAndExplainedOnTheConsole)
{
    start([&](PhotolithographyOperation &op) {
        op.setTopMask(leftHalfCovered(4, 4));
        EXPECT_EQ(log->last(), "Photolithography: The top mask is 4 \u00d7 4 pixels and the volume 6 \u00d7 4 cells."
                               " Columns outside the mask are exposed.");
        op.setBottomMask(leftHalfCovered(8, 2));
        EXPECT_EQ(log->last(), "Photolithography: The bottom mask is 8 \u00d7 2 pixels and the volume 6 \u00d7 4 cells."
                               " Columns outside the mask are exposed. Pixels outside the volume are ignored.");
        const size_t lines = log->lines.size();
        op.setTopMask(ImageMask());
        op.setTopMask(leftHalfCovered(6, 4));
        EXPECT_EQ(log->lines.size(), lines) << "a fitting or removed mask needs no word";
        op.setMaterial(kPositive);
    });
    EXPECT_EQ(log->last(), "Photolithography: Operation finished.");
}

TEST_F(PhotolithographyOperationTest, DeclinedDialogCancelsAndTakesTheMasksOffTheVolume)
{
    const auto before = materialsOf(*volume);
    start([&](PhotolithographyOperation &op) { op.setTopMask(leftHalfCovered(6, 4)); });
    EXPECT_EQ(log->last(), "Photolithography: Operation Canceled!");
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(volume->topMaskA(), 0u);
    EXPECT_EQ(volume->topMask().size(), 0);
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST_F(PhotolithographyOperationTest, DevelopingSiliconMarksTheLatticeOutOfDate)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    start([](PhotolithographyOperation &op) { op.setMaterial(kPositive); });
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    start([](PhotolithographyOperation &op) { op.setMaterial(kSilicon); });
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}
