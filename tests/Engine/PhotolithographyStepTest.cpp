// The photolithography step of a process list with masks as the dialog stores them: its cells,
// its history entry and its result codes. voxfab-batch runs masks named by an image file
// (tests/blackbox/PhotolithographyBatchTest.cpp).

#include "BatchTestSupport.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/StepRunner.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using Model::Automaton::TotalVolume;

namespace {

constexpr uint32_t kResist = 11; // "Photoresist +"

// Covers the columns x < coveredWidth of a width × height mask, in the bit order of the masks.
QVector<bool> leftCovered(uint32_t width, uint32_t height, uint32_t coveredWidth)
{
    QVector<bool> bits(int(width * height), false);
    for (uint32_t x = 0; x < coveredWidth; ++x)
        for (uint32_t y = 0; y < height; ++y)
            bits[int(x * height + y)] = true;
    return bits;
}

// A step as the dialog writes it: a top mask and no bottom mask.
ProcessData lithography(uint32_t resist, const QVector<bool> &top, uint32_t width, uint32_t height)
{
    ProcessData step(PhotolithographyType);
    addMaterialParameters(step, Parameters::kMaterial, resist);
    step.addProcessParameter(Parameters::kTopMask, QVariant::fromValue(top), false);
    step.addProcessParameter(Parameters::kTopMaskWidth, width, true);
    step.addProcessParameter(Parameters::kTopMaskHeight, height, true);
    step.addProcessParameter(Parameters::kTopMaskFile, QStringLiteral("top.png"), true);
    step.addProcessParameter(Parameters::kBottomMask, QVariant::fromValue(QVector<bool>()), false);
    step.addProcessParameter(Parameters::kBottomMaskWidth, 0u, true);
    step.addProcessParameter(Parameters::kBottomMaskHeight, 0u, true);
    step.addProcessParameter(Parameters::kBottomMaskFile, QString(), true);
    return step;
}

// Silicon z < 2 under resist 2 <= z < 4.
std::shared_ptr<TotalVolume> resistVolume()
{
    auto volume = flatVolume(6, 3, 6, 4, kResist);
    auto *cells = volume->lockCells();
    for (uint32_t i = 0; i < volume->cellCount(); ++i)
        if (i % 6 < 2)
            cells[i].setMaterial(kSilicon);
    volume->unlockCells();
    return volume;
}

struct PhotolithographyStep : ::testing::Test {
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, ImageSaver(), QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }

    Core::ApplicationModel model;
    std::shared_ptr<TotalVolume> volume = resistVolume();
    QString detail;
};

} // namespace

TEST_F(PhotolithographyStep, DevelopsThroughTheStoredMaskAndRecordsTwenty)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    ASSERT_EQ(run(lithography(kResist, leftCovered(6, 3, 2), 6, 3)), StepSucceeded) << detail.toStdString();
    for (uint32_t x = 0; x < 6; ++x)
        EXPECT_EQ(countInColumn(*volume, x, 1, kResist), x < 2 ? 2u : 0u) << x;
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::PhotolithographyId));
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(PhotolithographyStep, MissingMaskOrSizeGivesOneAndBitsDisagreeingWithTheSizeGiveTwo)
{
    const auto before = materialsOf(*volume);
    const ProcessData good = lithography(kResist, leftCovered(6, 3, 2), 6, 3);
    // Without its file name too: a named image would be read in place of the missing bits.
    const ProcessData unnamed = without(good, Parameters::kTopMaskFile);
    for (const char *name : {Parameters::kTopMask, Parameters::kTopMaskWidth, Parameters::kBottomMaskHeight}) {
        EXPECT_EQ(run(without(unnamed, name)), StepMissingParameter) << name;
        EXPECT_TRUE(detail.contains(QLatin1String(name))) << detail.toStdString();
    }
    EXPECT_EQ(run(without(good, Parameters::idOf(Parameters::kMaterial))), StepMissingParameter);

    EXPECT_EQ(run(lithography(kResist, leftCovered(6, 3, 2), 5, 3)), StepInvalidParameter);
    EXPECT_EQ(detail, QStringLiteral("Invalid value of: Top Mask (18 bits for a 5 \u00d7 3 mask)"));
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}
