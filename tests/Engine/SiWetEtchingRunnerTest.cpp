// The step runner of type 1 (Si wet etching): its result codes, the cells it gives beside the
// interactive operation's entry point, and the lattice it keeps current.

#include "BatchTestSupport.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtching.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/StepRunner.h"
#include "Model/SiLattice/SiLattice.h"

#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using Model::Automaton::TotalVolume;

namespace {

ProcessData wetEtch(const QVariant &depth)
{
    ProcessData step(SiWetEtchingType);
    step.addProcessParameter(Parameters::kDepth, depth, true);
    return step;
}

struct SiWetEtchingRunner : ::testing::Test {
    int run(const ProcessData &step)
    {
        StepContext context{step, volume, model, nullptr, QString()};
        const int code = runStep(context);
        detail = context.detail;
        return code;
    }

    Core::ApplicationModel model;
    std::shared_ptr<TotalVolume> volume = flatVolume(6, 6, 8, 5, kSilicon);
    QString detail;
};

} // namespace

TEST_F(SiWetEtchingRunner, MissingAndUnreadableDepthsLeaveTheCells)
{
    const auto before = materialsOf(*volume);
    EXPECT_EQ(run(ProcessData(SiWetEtchingType)), StepMissingParameter);
    EXPECT_EQ(run(wetEtch(QStringLiteral("deep"))), StepInvalidParameter);
    EXPECT_EQ(run(wetEtch(-1.0)), StepInvalidParameter);
    EXPECT_EQ(materialsOf(*volume), before);
    EXPECT_FALSE(volume->siLattice());
    EXPECT_FALSE(model.volumeHistory().hasLastStep(volume->objectId()));
}

TEST_F(SiWetEtchingRunner, EtchesAsTheOperationDoesAndKeepsTheLatticeCurrent)
{
    auto same = flatVolume(6, 6, 8, 5, kSilicon);
    ASSERT_TRUE(Core::Operations::etchSiAtomistic(*same, 1.75));

    // The depth as text, as a list file gives it, reads as well; it rounds at half a layer.
    ASSERT_EQ(run(wetEtch(QStringLiteral("1.75"))), StepSucceeded) << detail.toStdString();
    EXPECT_EQ(materialsOf(*volume), materialsOf(*same));
    EXPECT_EQ(countInColumn(*volume, 3, 3, kSilicon), 4u);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::SiWetEtchingId));
    EXPECT_FALSE(model.volumeHistory().isLatticeOutOfDate(volume->objectId()));

    // A current lattice is kept; one marked out of date is rebuilt.
    const auto lattice = volume->siLattice();
    ASSERT_EQ(run(wetEtch(0.35)), StepSucceeded);
    EXPECT_EQ(volume->siLattice(), lattice);
    model.volumeHistory().setLatticeOutOfDate(volume->objectId(), true);
    ASSERT_EQ(run(wetEtch(0.35)), StepSucceeded);
    EXPECT_NE(volume->siLattice(), lattice);
}
