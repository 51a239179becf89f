// "Glue Volumes" through the application model: the two-stage choice of base and top, the
// refusals, and undo and redo of the swap in the scene.

#include "../CellChecks.h"
#include "../StepRun.h"
#include "Core/Operations/GlueSubstrate/GlueSubstrateOperation.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

struct GlueOperation : ::testing::Test, CoreTest::LoggedModel {
    GlueOperation()
    {
        model.scene().addObject(base);
        model.scene().addObject(top);
    }

    // Starts the operation; its dialog hands over `settings`, or nothing when `declined`.
    std::shared_ptr<GlueSubstrateOperation> start(bool declined = false)
    {
        return CoreTest::startStep<GlueSubstrateOperation>(model, [this, declined](GlueSubstrateOperation &op) {
            ++dialogs;
            seenLayout = op.layout();
            if (declined)
                return;
            op.setFinalSize(settings.sizeX ? settings.sizeX : seenLayout.defaultSizeX,
                            settings.sizeY ? settings.sizeY : seenLayout.defaultSizeY,
                            settings.sizeZ ? settings.sizeZ : seenLayout.defaultSizeZ);
            op.setDisplacement(settings.dx, settings.dy);
            op.setInvert(settings.invert);
        });
    }
    void pressEnter() { model.inputRequest().submit(""); }

    std::shared_ptr<TotalVolume> base = flatVolume(10, 10, 10, 5, kSilicon);
    std::shared_ptr<TotalVolume> top = flatVolume(10, 10, 10, 5, kOxide);
    GlueSettings settings; // sizes 0 mean the defaults
    GlueLayout seenLayout;
    int dialogs = 0;
};

} // namespace

TEST_F(GlueOperation, BaseAndTopPickedInTurnAreReplacedByTheGluedVolume)
{
    auto op = start();
    EXPECT_EQ(log->last(), "Glue Volumes: select the base cell volume and press Enter/Return.");
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    pressEnter(); // nothing picked yet: asked again
    EXPECT_EQ(op->step(), GlueSubstrateOperation::kNoneChosen);
    EXPECT_EQ(log->last(), "Glue Volumes: select the base cell volume and press Enter/Return.");
    select(base);
    pressEnter();
    EXPECT_EQ(log->last(), "Glue Volumes: base cell volume selected. Select top cell volume and press enter");
    EXPECT_EQ(op->baseVolume(), base);
    EXPECT_TRUE(model.selectionMode().selectedObjects().isEmpty());
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    select(top);
    pressEnter();
    EXPECT_TRUE(log->contains("Glue Volumes: top cell volume selected."));
    EXPECT_EQ(log->last(), "Glue Volumes: volumes glued.");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(seenLayout.defaultSizeZ, 11u);
    EXPECT_EQ(op->step(), GlueSubstrateOperation::kGlued);
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoName(), "Glue Volumes");
    const auto objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects.front(), op->gluedVolume());
    EXPECT_EQ(op->gluedVolume()->sizeZ(), 11u);
    // Both cubes hold material up to z = 4: five layers of each and one empty layer on top.
    CoreTest::expectCells(*op->gluedVolume(),
                          [](uint32_t, uint32_t, uint32_t z) { return z < 5 ? kSilicon : z < 10 ? kOxide : 0u; });
}

TEST_F(GlueOperation, TwoSelectedVolumesAreTakenAtOnceAndUndoPutsThemBackUnchanged)
{
    const auto baseCells = materialsOf(*base);
    const auto topCells = materialsOf(*top);
    settings.sizeZ = 20;
    settings.invert = true;
    select(base); // the first selected is the base
    select(top);
    auto op = start();
    EXPECT_EQ(op->baseVolume(), base);
    EXPECT_EQ(op->topVolume(), top);
    auto glued = op->gluedVolume();
    ASSERT_TRUE(glued);
    EXPECT_EQ(glued->sizeZ(), 20u);
    EXPECT_EQ(materialAt(*glued, 0, 0, 4), kSilicon);
    EXPECT_EQ(materialAt(*glued, 0, 0, 5), kOxide);
    EXPECT_EQ(materialAt(*glued, 0, 0, 10), 0u);
    const auto gluedCells = materialsOf(*glued);
    ASSERT_TRUE(model.undoRedo().undo());
    auto objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 2);
    EXPECT_EQ(objects[0], base);
    EXPECT_EQ(objects[1], top);
    EXPECT_EQ(materialsOf(*base), baseCells);
    EXPECT_EQ(materialsOf(*top), topCells);
    EXPECT_EQ(model.undoRedo().redoName(), "Glue Volumes");
    ASSERT_TRUE(model.undoRedo().redo());
    objects = model.scene().objects();
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects.front(), glued);
    EXPECT_EQ(materialsOf(*glued), gluedCells);
    ASSERT_TRUE(model.undoRedo().undo());
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(model.scene().objects().size(), 1);
}

TEST_F(GlueOperation, AnEmptyTopOrTheBaseAgainIsRefusedAndAnotherTopCanBePicked)
{
    auto empty = flatVolume(10, 10, 10, 0, kSilicon);
    model.scene().addObject(empty);
    select(base);
    auto op = start();
    select(empty);
    pressEnter();
    EXPECT_EQ(log->last(), "Glue Volumes: the top cell volume holds no material, so there is nothing to glue. Select "
                           "another top cell volume and press Enter/Return.");
    select(base);
    pressEnter();
    EXPECT_EQ(log->last(), "Glue Volumes: the top cell volume must be another volume than the base. Select the top "
                           "cell volume and press Enter/Return.");
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(op->step(), GlueSubstrateOperation::kBaseChosen);
    EXPECT_EQ(op->topVolume(), nullptr);
    EXPECT_EQ(model.currentOperation(), op);
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    EXPECT_EQ(model.scene().objects().size(), 3);
    select(top);
    pressEnter();
    EXPECT_EQ(log->last(), "Glue Volumes: volumes glued.");
    EXPECT_EQ(model.scene().objects().size(), 2); // the empty one stays
}

TEST_F(GlueOperation, DeclinedDialogOrValuesOutOfRangeCancelWithoutChange)
{
    select(base);
    select(top);
    start(true);
    EXPECT_EQ(log->last(), "Glue Volumes: Operation canceled.");
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
    EXPECT_EQ(model.scene().objects().size(), 2);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(model.currentOperation(), nullptr);
    settings.dx = 1; // the top is as wide as the base: no room to shift it
    select(base);
    select(top);
    start();
    EXPECT_TRUE(log->contains("Glue Volumes: The top substrate displacement (1, 0) moves it outside the final volume."));
    EXPECT_EQ(log->last(), "Glue Volumes: Operation canceled.");
    EXPECT_EQ(model.scene().objects().size(), 2);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
}
