// Running whole lists: the missing-volume stop, the stop at the first failed step, the
// completed count and step reports, and the same cells whatever the thread count.

#include "BatchTestSupport.h"
#include "common/ThreadCount.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Engine/ProcessListRun.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;
using Model::Automaton::TotalVolume;

namespace {

struct Report {
    int index;
    int code;
    QString detail;
    bool operator==(const Report &o) const { return index == o.index && code == o.code && detail == o.detail; }
};

struct ProcessListRunTest : ::testing::Test {
    ProcessListRun::Outcome run(ProcessListRun &runner, const QList<ProcessData> &list)
    {
        runner.setStepReport([this](int index, int code, const QString &detail) {
            reports.push_back({index, code, detail});
        });
        return runner.run(list, &completed);
    }

    Core::ApplicationModel model;
    std::atomic<unsigned> completed{99};
    std::vector<Report> reports;
};

} // namespace

TEST_F(ProcessListRunTest, ListStartingWithCreateSubstrateRunsWithoutAVolume)
{
    ProcessListRun runner(model, nullptr);
    const auto outcome = run(runner, {boxSubstrate(6, 5, 20, 5), deposition(kOxide, 10.0)});
    EXPECT_EQ(outcome.completed, 2);
    EXPECT_EQ(outcome.failedStep, -1);
    EXPECT_EQ(outcome.failedCode, int(StepSucceeded));
    EXPECT_FALSE(outcome.missingVolume);
    EXPECT_EQ(completed.load(), 2u);

    const auto volume = runner.volume();
    ASSERT_TRUE(volume);
    ASSERT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.scene().objects()[0], volume);
    // Ten layers on the flat substrate of unit cells, in every column.
    for (uint32_t x = 0; x < 6; ++x)
        for (uint32_t y = 0; y < 5; ++y) {
            EXPECT_EQ(countInColumn(*volume, x, y, kSilicon), 5u);
            EXPECT_EQ(countInColumn(*volume, x, y, kOxide), 10u);
            EXPECT_EQ(materialAt(*volume, x, y, 14), kOxide);
        }
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::IsotropicDepositionId));
    EXPECT_EQ(reports, (std::vector<Report>{{0, 0, QString()}, {1, 0, QString()}}));
}

TEST_F(ProcessListRunTest, GivenVolumeIsUsedAndKept)
{
    auto volume = flatVolume(4, 4, 8, 2);
    ProcessListRun runner(model, volume);
    const auto outcome = run(runner, {deposition(kOxide, 2.0), etching(kOxide, 1.0)});
    EXPECT_EQ(outcome.completed, 2);
    EXPECT_EQ(runner.volume(), volume);
    EXPECT_EQ(countInColumn(*volume, 1, 1, kOxide), 1u);
    EXPECT_EQ(model.volumeHistory().lastStep(volume->objectId()), uint32_t(Core::Operations::IsotropicEtchingId));
}

TEST_F(ProcessListRunTest, NoVolumeAndNoSubstrateRunsNothingAndAnEmptyListCompletesNothing)
{
    ProcessListRun runner(model, nullptr);
    auto outcome = run(runner, {deposition(kOxide, 1.0), boxSubstrate(3, 3, 3, 1)});
    EXPECT_TRUE(outcome.missingVolume);
    EXPECT_EQ(outcome.completed, 0);
    EXPECT_EQ(outcome.failedStep, -1);
    EXPECT_EQ(completed.load(), 0u);
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(runner.volume());
    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_FALSE(model.isModified()); // closing the window has nothing to ask

    completed = 99;
    outcome = run(runner, {});
    EXPECT_FALSE(outcome.missingVolume);
    EXPECT_EQ(outcome.completed, 0);
    EXPECT_EQ(completed.load(), 0u);
}

TEST_F(ProcessListRunTest, AFailedStepStopsTheRunAfterTheStepsBeforeIt)
{
    ProcessListRun runner(model, nullptr);
    auto outcome = run(runner, {boxSubstrate(4, 4, 10, 2), deposition(kOxide, 1.0),
                                without(deposition(kAluminium, 1.0), "Material_Id"), deposition(kCopper, 1.0)});
    EXPECT_EQ(outcome.completed, 2);
    EXPECT_EQ(completed.load(), 2u);
    EXPECT_EQ(outcome.failedStep, 2);
    EXPECT_EQ(outcome.failedCode, int(StepMissingParameter));
    EXPECT_TRUE(outcome.failedDetail.contains("Material_Id"));
    EXPECT_FALSE(outcome.missingVolume);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[2].code, int(StepMissingParameter));
    // The steps before it stay applied; the one after it never ran.
    EXPECT_EQ(countInColumn(*runner.volume(), 1, 1, kOxide), 1u);
    EXPECT_EQ(countInColumn(*runner.volume(), 1, 1, kCopper), 0u);
    EXPECT_TRUE(model.isModified()); // the window asks before the applied steps are lost

    // An unknown step stops the run as well; a second run starts its count again.
    outcome = run(runner, {deposition(kAluminium, 1.0), ProcessData(57), deposition(kCopper, 1.0)});
    EXPECT_EQ(outcome.completed, 1);
    EXPECT_EQ(completed.load(), 1u);
    EXPECT_EQ(outcome.failedStep, 1);
    EXPECT_EQ(outcome.failedCode, int(StepUnknownProcess));
    EXPECT_EQ(countInColumn(*runner.volume(), 1, 1, kCopper), 0u);
    // Without a counter the run still works.
    EXPECT_EQ(runner.run({deposition(kOxide, 1.0)}).completed, 1);
}

TEST_F(ProcessListRunTest, SaveImageStepsCallTheSaverAndItsFailureStopsWithTheReason)
{
    ProcessListRun runner(model, nullptr);
    QStringList saved;
    runner.setImageSaver([&saved](const QString &filename) {
        saved << filename;
        return filename == "bad.png" ? QString("Cannot write bad.png") : QString();
    });
    const auto outcome = run(runner, {boxSubstrate(3, 3, 3, 1), saveImage("good.png"), saveImage("bad.png"),
                                      saveImage("never.png")});
    EXPECT_EQ(saved, (QStringList{"good.png", "bad.png"}));
    EXPECT_EQ(outcome.completed, 2);
    EXPECT_EQ(outcome.failedStep, 2);
    EXPECT_EQ(outcome.failedCode, int(StepInvalidParameter));
    EXPECT_EQ(outcome.failedDetail, QString("Cannot write bad.png"));
    EXPECT_EQ(reports.back(), (Report{2, int(StepInvalidParameter), QString("Cannot write bad.png")}));
}

// The dialog runs the list as one task of the global pool, whose automata then start their
// slab tasks on the same pool: any thread count must give the same cells.
TEST_F(ProcessListRunTest, SameCellsForEveryThreadCountOnAWorkerThread)
{
    // A block standing free inside the volume, so that every step has edges and walls to work on.
    ProcessData substrate = boxSubstrate(23, 11, 18, 6);
    substrate.setProcessParameter("Substrate Size X", 13u);
    substrate.setProcessParameter("Substrate Size Y", 5u);
    substrate.setProcessParameter("Substrate Delta X", 5u);
    substrate.setProcessParameter("Substrate Delta Y", 3u);
    substrate.setProcessParameter("Substrate Delta Z", 2u);
    const QList<ProcessData> list{substrate,
                                  etching(kSilicon, 2.5),
                                  deposition(kOxide, 3.2, CvdType),
                                  deposition(kAluminium, 1.7),
                                  etching(kOxide, 1.4),
                                  electroplating(kAluminium, kCopper, 2.2)};

    std::vector<uint32_t> reference;
    for (int threads : TestSupport::kThreadCounts) {
        const TestSupport::ScopedThreadCount count(threads);
        Core::ApplicationModel runModel;
        ProcessListRun runner(runModel, nullptr);
        std::atomic<unsigned> done{0};
        QFuture<ProcessListRun::Outcome> future =
            QtConcurrent::run(QThreadPool::globalInstance(), [&] { return runner.run(list, &done); });
        const ProcessListRun::Outcome outcome = future.result();
        ASSERT_EQ(outcome.completed, list.size()) << threads << " " << outcome.failedDetail.toStdString();
        EXPECT_EQ(done.load(), unsigned(list.size()));
        const std::vector<uint32_t> cells = materialsOf(*runner.volume());
        if (reference.empty()) {
            reference = cells;
            EXPECT_GT(std::count(cells.begin(), cells.end(), kCopper), 0);
            EXPECT_GT(std::count(cells.begin(), cells.end(), kOxide), 0);
        } else {
            EXPECT_EQ(cells, reference) << "threads " << threads;
        }
    }
}
