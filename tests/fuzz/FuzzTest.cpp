// Feeds every reader of user files thousands of mutated inputs from the seed files in
// tests/data/fuzz/<reader>/, with a fixed seed so that a failure repeats. An input that breaks
// a reader's invariant is saved beside the test program as fuzz-<reader>-<n>.bin, to be kept in
// tests/data as a reproducer once fixed. VOXFAB_FUZZ_INPUTS sets how many mutated inputs each
// reader gets (default below).

#include "FuzzTargets.h"
#include "Mutator.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

constexpr int kDefaultInputsPerReader = 2500;
constexpr uint32_t kFixedSeed = 20261207;

std::vector<QByteArray> seedsOf(Fuzz::Reader reader)
{
    std::vector<QByteArray> seeds;
    const QDir dir(QStringLiteral(VOXFAB_FUZZ_SEED_DIR "/") + QLatin1String(Fuzz::readerName(reader)));
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            seeds.push_back(file.readAll());
    }
    return seeds;
}

int inputsPerReader()
{
    bool ok = false;
    const int wanted = qEnvironmentVariableIntValue("VOXFAB_FUZZ_INPUTS", &ok);
    return ok && wanted > 0 ? wanted : kDefaultInputsPerReader;
}

QString keepReproducer(Fuzz::Reader reader, int input, const QByteArray &bytes)
{
    const QString path =
        QDir::current().filePath(QStringLiteral("fuzz-%1-%2.bin").arg(QLatin1String(Fuzz::readerName(reader))).arg(input));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

class ReaderFuzz : public ::testing::TestWithParam<Fuzz::Reader> {
protected:
    // The readers log every refusal; thousands of them would bury the test's own report.
    void SetUp() override { previousHandler = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}); }
    void TearDown() override { qInstallMessageHandler(previousHandler); }

private:
    QtMessageHandler previousHandler = nullptr;
};

} // namespace

TEST_P(ReaderFuzz, SeedsAreAcceptedAndMutationsAreRefusedCleanlyOrReadWhole)
{
    const Fuzz::Reader reader = GetParam();
    const std::vector<QByteArray> seeds = seedsOf(reader);
    ASSERT_FALSE(seeds.empty()) << "no seed files for " << Fuzz::readerName(reader);
    for (const QByteArray &seed : seeds) {
        const Fuzz::Verdict verdict = Fuzz::feed(reader, seed);
        EXPECT_TRUE(verdict.accepted) << "a seed is refused: " << seed.left(200).toStdString();
        EXPECT_TRUE(verdict.broken.isEmpty()) << verdict.broken.toStdString();
    }

    Fuzz::Mutator mutator(kFixedSeed + uint32_t(reader));
    const int inputs = inputsPerReader();
    int accepted = 0;
    int failures = 0;
    for (int input = 0; input < inputs && failures < 5; ++input) {
        const QByteArray bytes = mutator.mutate(seeds[size_t(input) % seeds.size()]);
        const Fuzz::Verdict verdict = Fuzz::feed(reader, bytes);
        accepted += verdict.accepted ? 1 : 0;
        if (!verdict.broken.isEmpty()) {
            ++failures;
            ADD_FAILURE() << verdict.broken.toStdString() << "; input kept as "
                          << keepReproducer(reader, input, bytes).toStdString();
        }
    }
    // Mutations that all fail would test only the first lines of a reader.
    EXPECT_GT(accepted, 0) << "no mutated input was accepted";
    RecordProperty("inputs", inputs);
    RecordProperty("accepted", accepted);
}

INSTANTIATE_TEST_SUITE_P(Readers, ReaderFuzz, ::testing::ValuesIn(Fuzz::kReaders),
                         [](const ::testing::TestParamInfo<Fuzz::Reader> &info) {
                             std::string name = Fuzz::readerName(info.param);
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });
