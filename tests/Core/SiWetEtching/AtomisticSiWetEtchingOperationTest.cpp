// "BCA Wet Etch" through the real application model: the lattice is rebuilt only when the
// volume's history marks it out of date, and the step ends without going on the undo stack.

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Model/SiLattice/SiLattice.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/Observers.h"

#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

class WetEtchOperationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.inputRequest().addObserver(log);
        volume = flatVolume(8, 8, 8, 5, kSilicon);
        model.scene().addObject(volume);
    }

    // Starts the operation; the observer gives `depth` when it is set.
    void etch(bool giveDepth, double depth = 0.7)
    {
        auto op = std::make_shared<AtomisticSiWetEtchingOperation>(&model);
        AtomisticSiWetEtchingOperation *raw = op.get();
        op->setOptionsObserver(std::make_shared<CallObserver>([=] {
            if (giveDepth)
                raw->setDepth(depth);
        }));
        model.startOperation(op);
    }

    uint32_t siliconInMiddleColumn() { return countInColumn(*volume, 4, 4, kSilicon); }

    Core::ApplicationModel model;
    std::shared_ptr<MessageLog> log = std::make_shared<MessageLog>(model.inputRequest());
    std::shared_ptr<TotalVolume> volume;
};

} // namespace

TEST_F(WetEtchOperationTest, EtchesBuildsTheLatticeAndMarksItCurrent)
{
    etch(false);
    EXPECT_EQ(log->last(), "BCA Wet Etch: Operation canceled.");
    EXPECT_FALSE(volume->siLattice());
    EXPECT_EQ(siliconInMiddleColumn(), 5u);

    // A volume without a history entry counts as out of date.
    etch(true, 1.4);
    EXPECT_TRUE(log->contains("BCA Wet Etch: Cell volume selected."));
    EXPECT_EQ(log->last(), "BCA Wet Etch: Operation finished.");
    ASSERT_TRUE(volume->siLattice());
    EXPECT_EQ(siliconInMiddleColumn(), 4u); // 1.4 units below the surface at z = 5
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_TRUE(model.isModified());
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(SiWetEtchingId));
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}

TEST_F(WetEtchOperationTest, RebuildsTheLatticeOnlyWhenTheHistoryMarksItOutOfDate)
{
    etch(true, 2.8); // eight layers: the cells at z = 3 and 4 go
    const auto first = volume->siLattice();
    ASSERT_TRUE(first);
    ASSERT_EQ(materialAt(*volume, 4, 4, 4), 0u);

    // Silicon put back without the history knowing is not in the lattice, so it does not etch.
    setMaterialAt(*volume, 4, 4, 4, kSilicon);
    etch(true);
    EXPECT_EQ(volume->siLattice(), first);
    EXPECT_EQ(materialAt(*volume, 4, 4, 4), kSilicon);

    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    etch(true);
    EXPECT_NE(volume->siLattice(), first);
    EXPECT_EQ(materialAt(*volume, 4, 4, 4), 0u);
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));
}
