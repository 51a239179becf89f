// The model extraction operation through the application model: choosing the volume, the three
// steps and what they show in the scene, and how finishing and cancelling put the scene back.

#include "../StepRun.h"
#include "common/Cells.h"
#include "Core/Operations/ModelExtraction/RunModelExtraction.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/ModelExtraction/ExtractedModel.h"

#include <gtest/gtest.h>

using Core::Operations::RunModelExtraction;
using TestSupport::CallObserver;

namespace {

constexpr uint32_t kSilicon = 1;

struct RunModelExtractionTest : ::testing::Test, CoreTest::LoggedModel {
    RunModelExtractionTest()
    {
        operation->setOptionsObserver(std::make_shared<CallObserver>([this] { ++windowsOpened; }));
        operation->setClosingObserver(std::make_shared<CallObserver>([this] { ++windowsClosed; }));
    }

    // A silicon block x < 4 with a beam of material 2, 10 × 2 × 1 cells, from its high-x face;
    // cells of edge 2 length units.
    std::shared_ptr<Model::Automaton::TotalVolume> addBeamVolume(bool withBeam = true)
    {
        auto volume = TestSupport::volumeOf(
            14, 2, 3,
            [=](uint32_t x, uint32_t, uint32_t z) { return x < 4 ? kSilicon : z == 1 && withBeam ? 2u : 0u; }, 2.f);
        model.scene().addObject(volume);
        return volume;
    }

    void startWithSelected(const std::shared_ptr<Model::Automaton::TotalVolume> &volume)
    {
        model.selectionMode().setSelectionMode(true);
        model.selectionMode().toggleObject(volume->objectId());
        model.startOperation(operation);
    }

    int windowsOpened = 0;
    int windowsClosed = 0;
    std::shared_ptr<RunModelExtraction> operation = std::make_shared<RunModelExtraction>(&model);
};

} // namespace

TEST_F(RunModelExtractionTest, SelectedVolumeOpensTheToolWindowAndStepsShowBoxesThenBeams)
{
    auto volume = addBeamVolume();
    startWithSelected(volume);
    EXPECT_EQ(log->lines, std::vector<std::string>{"Model Extraction: Cell volume selected."});
    EXPECT_EQ(operation->state(), RunModelExtraction::VolumeChosen);
    EXPECT_EQ(windowsOpened, 1);
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
    operation->runStepOne();
    EXPECT_TRUE(volume->painter().isHidden());
    ASSERT_TRUE(operation->boxModel());
    // Block: three z bands; beam: one box; the empty boxes around the beam are not kept.
    EXPECT_EQ(operation->boxModel()->envelopes().size(), 4u);
    EXPECT_EQ(model.scene().objects().size(), 2);
    operation->runStepTwo();
    ASSERT_TRUE(operation->beamModel());
    ASSERT_EQ(operation->beamModel()->envelopes().size(), 1u);
    // Beside the volume, ten cells of gap: 2 × (14 + 10) length units along x.
    EXPECT_EQ(operation->beamModel()->offset(), (std::array<float, 3>{{48.f, 0.f, 0.f}}));
    EXPECT_EQ(model.scene().objects().size(), 3);
    EXPECT_EQ(operation->netlist().toStdString(),
              "Model extracted by Voxfab\nc1 1 0 2.54737e-13 \nl1 1 0 2.85714e-08 \n.end \n");
    operation->finish();
    EXPECT_EQ(log->last(), "Model Extraction: Model extracted.");
    EXPECT_FALSE(volume->painter().isHidden());
    ASSERT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.scene().objects().front(), volume);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_FALSE(model.isModified());
    EXPECT_EQ(windowsClosed, 0);
    operation->finish(); // the tool window closing afterwards changes nothing
    EXPECT_EQ(log->lines.size(), 2u);
}

TEST_F(RunModelExtractionTest, WithoutSelectionItAsksForOneAndGoesOnAtEnter)
{
    auto volume = addBeamVolume();
    model.startOperation(operation);
    EXPECT_EQ(log->last(), "Model Extraction: Select a cell volume and press Enter/Return.");
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    EXPECT_EQ(operation->state(), RunModelExtraction::Idle);
    EXPECT_EQ(windowsOpened, 0);
    model.selectionMode().toggleObject(volume->objectId());
    model.inputRequest().submit("");
    EXPECT_EQ(log->last(), "Model Extraction: Cell volume selected.");
    EXPECT_EQ(operation->state(), RunModelExtraction::VolumeChosen);
    EXPECT_EQ(operation->chosenVolume(), volume);
    EXPECT_EQ(windowsOpened, 1);
}

TEST_F(RunModelExtractionTest, CancelClosesTheWindowAndTakesTheModelsOutOfTheScene)
{
    auto volume = addBeamVolume();
    startWithSelected(volume);
    operation->runStepOne();
    operation->runStepTwo();
    model.cancelCurrent();
    EXPECT_EQ(windowsClosed, 1);
    EXPECT_EQ(operation->state(), RunModelExtraction::Ended);
    EXPECT_FALSE(volume->painter().isHidden());
    EXPECT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_FALSE(log->contains("Model Extraction: Model extracted."));

    // Cancelled while still waiting for a volume: nothing to close, picking stops.
    auto waiting = std::make_shared<RunModelExtraction>(&model);
    model.startOperation(waiting);
    model.cancelCurrent();
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
    EXPECT_EQ(model.inputRequest().requester(), nullptr);
}

TEST_F(RunModelExtractionTest, WithoutBeamsStepTwoAddsNothingAndStepsRunOnlyInOrderAndOnce)
{
    auto volume = addBeamVolume(false);
    startWithSelected(volume);
    operation->runStepTwo(); // before step 1: nothing to detect in
    EXPECT_FALSE(operation->beamModel());
    operation->runStepOne();
    const auto boxes = operation->boxModel();
    operation->runStepOne();
    EXPECT_EQ(operation->boxModel(), boxes);
    operation->runStepTwo();
    EXPECT_FALSE(operation->beamModel());
    EXPECT_EQ(model.scene().objects().size(), 2);
    EXPECT_TRUE(operation->netlist().isEmpty());
}
