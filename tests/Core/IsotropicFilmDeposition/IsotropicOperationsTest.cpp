#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"
#include "Util/IObserver.h"

#include <functional>
#include <gtest/gtest.h>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

constexpr uint32_t kSilicon = Model::Materials::kSiliconMaterial;
constexpr uint32_t kOxide = 2;
constexpr uint32_t kMetal = 3;

struct CallObserver : Util::IObserver {
    explicit CallObserver(std::function<void()> f) : call(std::move(f)) { }
    void update() override { call(); }
    std::function<void()> call;
};

struct MessageLog : Util::IObserver {
    explicit MessageLog(InputRequest &request) : request(request) { }
    void update() override { lines.push_back(request.message()); }
    bool saw(const std::string &line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
    InputRequest &request;
    std::vector<std::string> lines;
};

std::vector<uint32_t> materialsOf(TotalVolume &volume)
{
    std::vector<uint32_t> out(volume.cellCount());
    auto *cells = volume.lockCells();
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = cells[i].material();
    volume.unlockCells();
    return out;
}

// One volume in the scene: silicon below z = 4 with a metal pad on its top at x < 3.
struct IsotropicOperations : ::testing::Test {
    IsotropicOperations() : log(std::make_shared<MessageLog>(model.inputRequest()))
    {
        model.inputRequest().addObserver(log);
        std::vector<uint32_t> materials(8 * 6 * 12, 0);
        volume = std::make_shared<TotalVolume>(8, 6, 12, 1.f, 1.f, 1.f, Util::Vector3D(), materials);
        auto *cells = volume->lockCells();
        for (uint32_t x = 0; x < 8; ++x)
            for (uint32_t y = 0; y < 6; ++y)
                for (uint32_t z = 0; z < 5; ++z)
                    cells[volume->cellIndex(x, y, z)].setMaterial(z < 4 ? kSilicon : x < 3 ? kMetal : 0u);
        volume->unlockCells();
        model.scene().addObject(volume);
    }

    template <class Op> std::shared_ptr<Op> start(std::shared_ptr<Op> op, std::function<void(Op &)> options)
    {
        Op *raw = op.get();
        op->setOptionsObserver(std::make_shared<CallObserver>([raw, options] {
            if (options)
                options(*raw);
        }));
        model.startOperation(op);
        return op;
    }

    void deposit(uint32_t material, float thickness, const std::string &name = "Isotropic Deposition")
    {
        start<IsotropicFilmDepositionOperation>(std::make_shared<IsotropicFilmDepositionOperation>(&model, name),
            [=](IsotropicFilmDepositionOperation &op) {
                op.setThickness(thickness);
                op.setMaterial(material);
            });
    }

    Core::ApplicationModel model;
    std::shared_ptr<MessageLog> log;
    std::shared_ptr<TotalVolume> volume;
};

} // namespace

TEST_F(IsotropicOperations, DepositionRunsOnTheOnlyVolumeAndGoesOnTheUndoStack)
{
    deposit(kOxide, 2.f, "CVD");
    EXPECT_TRUE(log->saw("CVD: Cell volume selected."));
    EXPECT_EQ(log->lines.back(), "CVD: Operation finished.");
    EXPECT_EQ(materialsOf(*volume)[volume->cellIndex(5, 2, 5)], kOxide);
    EXPECT_EQ(materialsOf(*volume)[volume->cellIndex(5, 2, 6)], 0u);
    EXPECT_EQ(model.undoRedo().undoName(), "CVD");
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(IsotropicDepositionId));
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST_F(IsotropicOperations, SiliconStepsMarkTheLatticeOutOfDate)
{
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), false);
    deposit(kOxide, 1.f);
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    start<IsotropicFilmEtchingOperation>(
        std::make_shared<IsotropicFilmEtchingOperation>(&model), [](IsotropicFilmEtchingOperation &op) {
            op.setDepth(1.f);
            op.setMaterial(kSilicon);
        });
    EXPECT_TRUE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(IsotropicEtchingId));
}

TEST_F(IsotropicOperations, DeclinedDialogCancelsAndLeavesTheCells)
{
    const auto before = materialsOf(*volume);
    start<ElectrodepositionOperation>(std::make_shared<ElectrodepositionOperation>(&model), {});
    EXPECT_EQ(log->lines.back(), "Electroplating: Operation canceled.");
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
}

TEST_F(IsotropicOperations, ZeroThicknessChangesNothingButFinishes)
{
    const auto before = materialsOf(*volume);
    deposit(kOxide, 0.f);
    EXPECT_EQ(log->lines.back(), "Isotropic Deposition: Operation finished.");
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_EQ(model.undoRedo().undoDepth(), 1u);
}

TEST_F(IsotropicOperations, WithSeveralObjectsItWaitsForASelection)
{
    model.scene().addObject(
        std::make_shared<TotalVolume>(2, 2, 2, 1.f, 1.f, 1.f, Util::Vector3D(), std::vector<uint32_t>(8, 1)));
    deposit(kOxide, 1.f);
    EXPECT_EQ(log->lines.back(), "Isotropic Deposition: Select a cell volume and press Enter/Return.");
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    model.selectionMode().toggleObject(volume->objectId());
    model.inputRequest().submit("");
    EXPECT_EQ(log->lines.back(), "Isotropic Deposition: Operation finished.");
    EXPECT_EQ(materialsOf(*volume)[volume->cellIndex(5, 2, 4)], kOxide);
}

TEST_F(IsotropicOperations, UndoAndRedoOfEachStepRestoreTheExactCells)
{
    const auto initial = materialsOf(*volume);
    deposit(kOxide, 2.f);
    const auto afterDeposition = materialsOf(*volume);
    start<ElectrodepositionOperation>(
        std::make_shared<ElectrodepositionOperation>(&model), [](ElectrodepositionOperation &op) {
            op.setThickness(3.f);
            op.setDepositedMaterial(kMetal);
            op.setConductingMaterial(kOxide);
        });
    const auto afterPlating = materialsOf(*volume);
    start<IsotropicFilmEtchingOperation>(
        std::make_shared<IsotropicFilmEtchingOperation>(&model), [](IsotropicFilmEtchingOperation &op) {
            op.setDepth(2.f);
            op.setMaterial(kMetal);
        });
    const auto afterEtching = materialsOf(*volume);
    ASSERT_NE(afterDeposition, initial);
    ASSERT_NE(afterPlating, afterDeposition);
    ASSERT_NE(afterEtching, afterPlating);

    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), afterPlating);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), afterDeposition);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_EQ(materialsOf(*volume), initial);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterDeposition);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterPlating);
    ASSERT_TRUE(model.undoRedo().redo());
    EXPECT_EQ(materialsOf(*volume), afterEtching);
}

TEST_F(IsotropicOperations, UndoAfterALaterStepOfTheSameKindFindsItsOwnRecord)
{
    deposit(kOxide, 1.f);
    const auto afterFirst = materialsOf(*volume);
    deposit(kMetal, 2.f);
    ASSERT_NE(materialsOf(*volume), afterFirst);
    model.undoRedo().undo();
    EXPECT_EQ(materialsOf(*volume), afterFirst);
    // After undo, a new step of the same kind replaces the redo branch; undoing it comes back
    // to the same state again.
    deposit(kMetal, 1.f);
    EXPECT_EQ(model.undoRedo().redoDepth(), 0u);
    model.undoRedo().undo();
    EXPECT_EQ(materialsOf(*volume), afterFirst);
}

TEST(SnapshotKeys, InstanceNumbersAreUniquePerName)
{
    Core::ApplicationModel model;
    IsotropicFilmDepositionOperation first(&model);
    IsotropicFilmDepositionOperation second(&model, "CVD", IsotropicFilmDepositionOperation::kCvdProcess);
    SnapshotKey sameName("IsotropicDeposition");
    IsotropicFilmEtchingOperation etching(&model);
    EXPECT_EQ(first.snapshotKey().name(), "IsotropicDeposition");
    EXPECT_EQ(second.snapshotKey().instance(), first.snapshotKey().instance() + 1);
    EXPECT_EQ(sameName.instance(), first.snapshotKey().instance() + 2);
    EXPECT_EQ(etching.snapshotKey().name(), "IsotropicEtching");
    EXPECT_EQ(second.kind(), uint32_t(IsotropicDepositionId));
}
