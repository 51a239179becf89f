// The doping steps as the user runs them: through the application model with a test observer
// in place of the dialog, their console lines, volume history, lattice flag and undo and redo.

#include "Core/ApplicationModel.h"
#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/Doping/DopingOperation.h"
#include "Core/Operations/Doping/IonImplantationOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Process/ProcessFactory.h"

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/Observers.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using TestSupport::kOxide;
using TestSupport::kSilicon;
using TestSupport::materialAt;
using TestSupport::materialsOf;

namespace {

constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;
constexpr uint32_t kPDoped = Model::Materials::kPDopedSiliconMaterial;
constexpr uint32_t kPolySilicon = 16;

// Silicon below z = 6 with an oxide pad on its top at x < 2, in 6 × 3 × 10 unit cells: the only
// object of the scene.
struct DopingOperations : ::testing::Test {
    DopingOperations() : log(std::make_shared<TestSupport::MessageLog>(model.inputRequest()))
    {
        model.inputRequest().addObserver(log);
        volume = TestSupport::volumeOf(6, 3, 10, [](uint32_t x, uint32_t, uint32_t z) {
            return z < 6 ? kSilicon : z == 6 && x < 2 ? kOxide : 0u;
        });
        model.scene().addObject(volume);
        model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    }

    // Starts `op` with an options observer that calls `options` on it (none: a declined dialog).
    template <class Op>
    void start(std::shared_ptr<Op> op, std::function<void(Op &)> options)
    {
        Op *raw = op.get();
        op->setOptionsObserver(std::make_shared<TestSupport::CallObserver>([raw, options] {
            if (options)
                options(*raw);
        }));
        model.startOperation(op);
    }

    void dope(uint32_t material, float depth)
    {
        start<DopingOperation>(std::make_shared<DopingOperation>(&model), [=](DopingOperation &op) {
            op.setDopingDepth(depth);
            op.setDopedMaterial(material);
        });
    }

    void implant(uint32_t material, float depth, float spread, float annealing)
    {
        start<IonImplantationOperation>(std::make_shared<IonImplantationOperation>(&model),
                                        [=](IonImplantationOperation &op) {
                                            op.setImplantationDepth(depth);
                                            op.setVerticalSpread(spread);
                                            op.setAnnealingDistance(annealing);
                                            op.setDopedMaterial(material);
                                        });
    }

    Core::ApplicationModel model;
    std::shared_ptr<TestSupport::MessageLog> log;
    std::shared_ptr<TotalVolume> volume;
};

// Puts a process of the catalogue back as it was when the test ends.
class ScopedProcess {
public:
    explicit ScopedProcess(uint32_t id) : saved(factory()->process(id)) {}
    ~ScopedProcess() { factory()->setProcess(saved); }
    static std::shared_ptr<Model::Process::ProcessFactory> factory()
    {
        return Model::Process::ProcessFactory::instance();
    }

private:
    Model::Process::Process saved;
};

} // namespace

TEST_F(DopingOperations, DopingRunsOnTheOnlyVolumeAndGoesOnTheUndoStack)
{
    dope(kNDoped, 2.f);
    EXPECT_TRUE(log->contains("Doping: Cell volume selected."));
    EXPECT_EQ(log->last(), "Doping: Operation finished.");
    // Two layers where the silicon is open, none under the pad but for its edge.
    EXPECT_EQ(materialAt(*volume, 4, 1, 5), kNDoped);
    EXPECT_EQ(materialAt(*volume, 4, 1, 4), kNDoped);
    EXPECT_EQ(materialAt(*volume, 4, 1, 3), kSilicon);
    EXPECT_EQ(materialAt(*volume, 0, 1, 5), kSilicon);
    EXPECT_EQ(materialAt(*volume, 0, 1, 6), kOxide);
    EXPECT_EQ(model.undoRedo().undoName(), "Doping");
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(DopingId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST_F(DopingOperations, UndoAndRedoOfDopingRestoreTheExactCells)
{
    const auto initial = materialsOf(*volume);
    dope(kNDoped, 1.f);
    const auto afterFirst = materialsOf(*volume);
    dope(kPDoped, 3.f);
    const auto afterSecond = materialsOf(*volume);
    ASSERT_NE(afterFirst, initial);
    ASSERT_NE(afterSecond, afterFirst);

    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), afterFirst);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), initial);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterFirst);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterSecond);
}

TEST_F(DopingOperations, ADeclinedDialogCancelsEitherStepAndLeavesTheCells)
{
    const auto before = materialsOf(*volume);
    start<DopingOperation>(std::make_shared<DopingOperation>(&model), {});
    EXPECT_EQ(log->last(), "Doping: Operation canceled.");
    start<IonImplantationOperation>(std::make_shared<IonImplantationOperation>(&model), {});
    EXPECT_EQ(log->last(), "Ion Implantation: Operation canceled.");
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(DopingOperations, ImplantationRunsOnlyWithAllFourParameters)
{
    const auto before = materialsOf(*volume);
    start<IonImplantationOperation>(std::make_shared<IonImplantationOperation>(&model),
                                    [](IonImplantationOperation &op) {
                                        op.setImplantationDepth(2.f);
                                        op.setAnnealingDistance(0.f);
                                        op.setDopedMaterial(kPDoped);
                                    });
    EXPECT_EQ(log->last(), "Ion Implantation: Operation canceled.");
    EXPECT_EQ(materialsOf(*volume), before);
}

TEST_F(DopingOperations, ImplantationIsRecordedButNotUndoable)
{
    implant(kPDoped, 2.f, 0.f, 0.f);
    EXPECT_TRUE(log->contains("Ion Implantation: Cell volume selected."));
    EXPECT_EQ(log->last(), "Ion Implantation: Operation finished.");
    // k = 2: z = 4 in the open columns, the silicon right under the pad in the others.
    EXPECT_EQ(TestSupport::countInColumn(*volume, 4, 1, kPDoped), 1u);
    EXPECT_EQ(materialAt(*volume, 4, 1, 4), kPDoped);
    EXPECT_EQ(materialAt(*volume, 0, 1, 5), kPDoped);
    EXPECT_EQ(materialAt(*volume, 0, 1, 6), kOxide);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(IonImplantationId));
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST_F(DopingOperations, WithSeveralVolumesEachStepWaitsForASelection)
{
    auto other = TestSupport::flatVolume(2, 2, 4, 2, kSilicon);
    model.scene().addObject(other);
    implant(kPDoped, 1.f, 0.f, 0.f);
    EXPECT_EQ(log->last(), "Ion Implantation: Select a cell volume and press Enter/Return.");
    model.selectionMode().toggleObject(other->objectId());
    model.inputRequest().submit("");
    EXPECT_EQ(log->last(), "Ion Implantation: Operation finished.");
    EXPECT_EQ(materialAt(*other, 1, 1, 1), kPDoped);
    EXPECT_EQ(materialAt(*volume, 4, 1, 5), kSilicon);
}

TEST_F(DopingOperations, TheDopableMaterialsAreTheCataloguesCompatibleOnes)
{
    // Without silicon in the doping process's list, the silicon stays and only poly-silicon
    // takes the dopant.
    ScopedProcess restore(kSimpleDopingProcess);
    auto process = ScopedProcess::factory()->process(kSimpleDopingProcess);
    process.setCompatibleMaterials({kPolySilicon});
    ScopedProcess::factory()->setProcess(process);
    TestSupport::setMaterialAt(*volume, 4, 1, 5, kPolySilicon);

    dope(kNDoped, 2.f);
    EXPECT_EQ(materialAt(*volume, 4, 1, 5), kNDoped);
    EXPECT_EQ(materialAt(*volume, 4, 1, 4), kSilicon);
    EXPECT_EQ(materialAt(*volume, 3, 1, 5), kSilicon);
}
