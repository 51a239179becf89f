// Undo snapshots: records found by name and instance, and the scratch files that hold them.
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/SnapshotRecords.h"
#include "common/Cells.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using Model::Automaton::TotalVolume;
using namespace Model::Persistence;
using TestSupport::materialsOf;
using TestSupport::setMaterials;

namespace {

std::vector<uint32_t> randomMaterials(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<uint32_t> pick(0, 40000);
    std::vector<uint32_t> out(count);
    for (auto &m : out)
        m = pick(random) % 3 == 0 ? 0 : pick(random);
    return out;
}

} // namespace

TEST(SnapshotRecords, EachRecordIsFoundByNameAndInstance)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("undo1.temp");
    // Large enough that records cross the reader's block boundaries.
    TotalVolume volume(61, 47, 53, 1, 1, 1, Util::Vector3D(), {});
    const auto first = randomMaterials(volume.cellCount(), 1);
    const auto second = randomMaterials(volume.cellCount(), 2);
    const auto third = randomMaterials(volume.cellCount(), 3);

    setMaterials(volume, first);
    ASSERT_TRUE(appendSnapshot(path, "IsotropicDeposition", 0, volume));
    setMaterials(volume, second);
    ASSERT_TRUE(appendSnapshot(path, "IsotropicEtching", 0, volume));
    setMaterials(volume, third);
    ASSERT_TRUE(appendSnapshot(path, "IsotropicDeposition", 1, volume));

    EXPECT_TRUE(restoreSnapshot(path, "IsotropicEtching", 0, volume));
    EXPECT_EQ(materialsOf(volume), second);
    EXPECT_TRUE(restoreSnapshot(path, "IsotropicDeposition", 0, volume));
    EXPECT_EQ(materialsOf(volume), first);
    EXPECT_TRUE(restoreSnapshot(path, "IsotropicDeposition", 1, volume));
    EXPECT_EQ(materialsOf(volume), third);

    // A name that only starts like a record's, or an unknown instance, finds nothing.
    EXPECT_FALSE(restoreSnapshot(path, "Isotropic", 0, volume));
    EXPECT_FALSE(restoreSnapshot(path, "IsotropicEtching", 7, volume));
    EXPECT_EQ(materialsOf(volume), third);
}

TEST(SnapshotRecords, MissingFilesAndShortRecordsLeaveTheCellsAlone)
{
    QTemporaryDir dir;
    TotalVolume volume(3, 2, 2, 1, 1, 1, Util::Vector3D(), std::vector<uint32_t>(12, 5));
    EXPECT_FALSE(restoreSnapshot(dir.filePath("absent.temp"), "Step", 0, volume));
    EXPECT_FALSE(restoreSnapshot(QString(), "Step", 0, volume));
    EXPECT_FALSE(appendSnapshot(QString(), "Step", 0, volume));

    QFile file(dir.filePath("short.temp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Other 0 1 2 3\nStep 0 1 2 3\n");
    file.close();
    EXPECT_FALSE(restoreSnapshot(file.fileName(), "Step", 0, volume));
    EXPECT_EQ(materialsOf(volume), std::vector<uint32_t>(12, 5));
}

TEST(ScratchFiles, AreCreatedEmptyAsAPairAndRemovedWithTheDocument)
{
    QString undo, redo;
    {
        DocumentArchive archive;
        undo = archive.undoScratchPath();
        redo = archive.redoScratchPath();
        ASSERT_FALSE(undo.isEmpty());
        EXPECT_TRUE(QFile::exists(undo));
        EXPECT_TRUE(QFile::exists(redo));
        EXPECT_EQ(QFile(undo).size(), 0);
        const QString undoName = QFileInfo(undo).fileName();
        const QString redoName = QFileInfo(redo).fileName();
        EXPECT_TRUE(undoName.startsWith("undo") && undoName.endsWith(".temp"));
        EXPECT_EQ(undoName.mid(4), redoName.mid(4));

        DocumentArchive other;
        EXPECT_NE(other.undoScratchPath(), undo);
    }
    EXPECT_FALSE(QFile::exists(undo));
    EXPECT_FALSE(QFile::exists(redo));
}
