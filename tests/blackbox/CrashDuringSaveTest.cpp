// A Voxfab killed in the middle of writing a document leaves the previous document whole: the
// new one is written beside it and only renamed over it when complete.

#include "BatchProgram.h"
#include "Engine/BatchTestSupport.h"

#include <QDir>
#include <unistd.h>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

using namespace BlackBox;
using namespace BatchTest;

namespace {

// Large enough that writing the document takes a good fraction of a second.
constexpr uint32_t kSide = 300;   // cells
constexpr uint32_t kHeight = 160; // cells
constexpr int kLongestWaitMs = 120000;

// Whether the process is part way through writing the new document: it is written beside the
// target, as a file named after it or (on Linux) as an unnamed file linked in only when it is
// complete, so it is looked for among the process's open files, with some bytes already written.
// A writer that wrote the target in place would be caught too, and fail the test.
bool writesDocument(qint64 pid, const QString &target)
{
    constexpr qint64 kSomeBytes = 1 << 20;
    const QFileInfo targetInfo(target);
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString &descriptor : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char link[4096];
        const ssize_t length = readlink(descriptors.filePath(descriptor).toLocal8Bit().constData(), link, sizeof link);
        if (length <= 0)
            continue;
        const QFileInfo file(QString::fromLocal8Bit(link, int(length)));
        const bool beside = file.absolutePath() == targetInfo.absolutePath() &&
                            (file.fileName().startsWith(QLatin1Char('#')) || file.fileName() == targetInfo.fileName() ||
                             file.fileName().startsWith(targetInfo.fileName() + QLatin1Char('.')));
        if (beside && QFileInfo(descriptors.filePath(descriptor)).size() >= kSomeBytes)
            return true;
    }
    return false;
}

} // namespace

TEST(CrashDuringSave, AKilledSaveLeavesThePreviousDocumentAsItWas)
{
    BatchProgram program;
    const QString target = program.path(QStringLiteral("work.vxf"));
    const QString previous = program.writeDocument(
        QStringLiteral("work.vxf"), {flatVolume(4, 4, 4, 2, kSilicon)});
    ASSERT_FALSE(previous.isEmpty());
    const QByteArray before = readFile(target);

    const QString list = program.writeList(QStringLiteral("big.plst"),
                                           {boxSubstrate(kSide, kSide, kHeight, kHeight / 2, kSilicon)});
    QProcess child;
    child.setProcessEnvironment(program.environment());
    child.setWorkingDirectory(program.path(QString()));
    child.start(QStringLiteral(VOXFAB_BATCH_PROGRAM), {"--list", list, "--output", target});
    ASSERT_TRUE(child.waitForStarted(-1));

    // Kill it (SIGKILL: no handler, no clean-up) as soon as the new document is being written.
    QElapsedTimer waited;
    waited.start();
    bool killedWhileWriting = false;
    // waitForFinished also lets QProcess notice that the child ended.
    while (!child.waitForFinished(1) && child.state() != QProcess::NotRunning && waited.elapsed() < kLongestWaitMs) {
        if (writesDocument(child.processId(), target)) {
            child.kill();
            killedWhileWriting = true;
            break;
        }
    }
    child.waitForFinished(-1);
    if (!killedWhileWriting)
        GTEST_SKIP() << "the save finished before it could be interrupted";

    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(readFile(target), before) << "the previous document changed";
    bool read = false;
    const QList<VolumeCells> volumes = BatchProgram::readDocument(target, &read);
    ASSERT_TRUE(read);
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0].sizeX, 4u);
    EXPECT_EQ(volumes[0].countInColumn(1, 1, kSilicon), 2u);
}
