#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "common/Cells.h"

#include <QBitArray>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <numeric>

using Model::Automaton::Cell;
using Model::Automaton::TotalVolume;
using ::testing::ElementsAre;

using TestSupport::materialsOf;

TEST(TotalVolume, CellIndexRunsZFastestAndCoordinatesInvertIt)
{
    const TotalVolume volume(4, 3, 5, 1.f, 1.f, 1.f, Util::Vector3D(), {});

    EXPECT_EQ(volume.cellIndex(0, 0, 1), 1u);
    EXPECT_EQ(volume.cellIndex(0, 1, 0), 5u);
    EXPECT_EQ(volume.cellIndex(1, 0, 0), 15u);
    EXPECT_EQ(volume.cellIndex(3, 2, 4), volume.cellCount() - 1);

    for (uint32_t index = 0; index < volume.cellCount(); ++index) {
        uint32_t x = 0, y = 0, z = 0;
        volume.cellCoordinates(index, x, y, z);
        ASSERT_TRUE(x < 4 && y < 3 && z < 5 && volume.cellIndex(x, y, z) == index) << index;
    }
}

TEST(Cell, CutCountSaturatesAt255AndNeverGoesBelowZero)
{
    Cell cell(7);
    EXPECT_EQ(cell.material(), 7u);
    EXPECT_EQ(cell.atomCount(), 0);
    EXPECT_FALSE(cell.isCut());

    for (int i = 0; i < 300; ++i)
        cell.incrementCutCount();
    EXPECT_EQ(cell.cutCount(), 255u);
    EXPECT_TRUE(cell.isCut());

    cell.resetCutCount();
    cell.decrementCutCount();
    EXPECT_EQ(cell.cutCount(), 0u);
    EXPECT_FALSE(cell.isCut());
}

TEST(TotalVolume, MissingMaterialsLeaveTheirCellsEmpty)
{
    TotalVolume shortList(2, 2, 2, 1.f, 1.f, 1.f, Util::Vector3D(), {3, 3, 3});
    EXPECT_THAT(materialsOf(shortList), ElementsAre(3, 3, 3, 0, 0, 0, 0, 0));

    TotalVolume none(2, 1, 1, 1.f, 1.f, 1.f, Util::Vector3D(), {});
    EXPECT_THAT(materialsOf(none), ElementsAre(0, 0));
}

TEST(TotalVolume, CloneCopiesPlaceAndMaterialsOnly)
{
    std::vector<uint32_t> materials(3 * 2 * 4);
    std::iota(materials.begin(), materials.end(), 1);
    TotalVolume original(3, 2, 4, 0.5f, 1.f, 2.f, Util::Vector3D(1, 2, 3), materials);
    original.move(Util::Vector4D(10, 0, -1, 0));
    Model::Automaton::CellLock(original).cells()[5].incrementCutCount();
    Model::Automaton::CellLock(original).cells()[5].setAtomCount(8);
    original.setProperty("Random Walk Particle Count Type N", QVariant(12));
    original.setTopMask(QBitArray(6, true), 1, 2);

    std::unique_ptr<Model::Object> copied(original.clone());
    auto *copy = dynamic_cast<TotalVolume *>(copied.get());
    ASSERT_NE(copy, nullptr);

    EXPECT_GT(copy->objectId(), original.objectId());
    EXPECT_EQ(Util::Vector3D(copy->sizeX(), copy->sizeY(), copy->sizeZ()), Util::Vector3D(3, 2, 4));
    EXPECT_EQ(Util::Vector3D(copy->cellSizeX(), copy->cellSizeY(), copy->cellSizeZ()), Util::Vector3D(0.5, 1, 2));
    EXPECT_EQ(copy->origin(), Util::Vector3D(11, 2, 2));
    EXPECT_EQ(materialsOf(*copy), materials);

    const Model::Automaton::CellReadLock lock(*copy);
    for (uint32_t i = 0; i < copy->cellCount(); ++i)
        ASSERT_TRUE(lock.cells()[i].cutCount() == 0 && lock.cells()[i].atomCount() == 0) << "cell " << i;
    EXPECT_TRUE(copy->propertyNames().isEmpty());
    EXPECT_EQ(copy->topMask().size(), 0);
}

TEST(TotalVolume, ClearingAMaskKeepsItsBitCountAndParameters)
{
    TotalVolume volume(2, 2, 1, 1.f, 1.f, 1.f, Util::Vector3D(), {});
    QBitArray bits(10);
    bits.setBit(3);
    bits.setBit(9);
    volume.setTopMask(bits, 7, 40);
    volume.setBottomMask(bits, 1, 2);

    volume.clearTopMask();

    EXPECT_EQ(volume.topMask().size(), 10);
    EXPECT_EQ(volume.topMask().count(true), 0);
    EXPECT_EQ(volume.topMaskA(), 7u);
    EXPECT_EQ(volume.topMaskB(), 40u);
    EXPECT_EQ(volume.bottomMask(), bits);
    EXPECT_EQ(volume.bottomMaskA(), 1u);
}

TEST(TotalVolume, SizesBeyondA32BitCellIndexAreRefusedWithTheCellCount)
{
    const uint64_t kMaxCells = std::numeric_limits<uint32_t>::max();
    const uint64_t kAbsurd = std::numeric_limits<uint64_t>::max();
    QString why;

    EXPECT_FALSE(TotalVolume::sizeIsAcceptable(65536, 65536, 1, &why));
    EXPECT_TRUE(why.contains("4294967296")) << why.toStdString();
    EXPECT_TRUE(why.contains(QString::number(kMaxCells))) << why.toStdString();

    // Each side fits 32 bits but the product is 2^64, which a plain 64-bit product wraps to 0.
    EXPECT_FALSE(TotalVolume::sizeIsAcceptable(uint64_t(1) << 21, uint64_t(1) << 21, uint64_t(1) << 22, &why));
    EXPECT_FALSE(TotalVolume::sizeIsAcceptable(1, 1, kMaxCells + 1));
    EXPECT_FALSE(TotalVolume::sizeIsAcceptable(kAbsurd, kAbsurd, kAbsurd, &why));
    EXPECT_TRUE(why.contains("cells")) << why.toStdString();

    // Exactly the largest count may still be refused, but only for want of memory.
    why.clear();
    TotalVolume::sizeIsAcceptable(65535, 65537, 1, &why);
    EXPECT_FALSE(why.contains(QString::number(kMaxCells) + " cells.")) << why.toStdString();

    EXPECT_TRUE(TotalVolume::sizeIsAcceptable(100, 100, 100));
}

TEST(TotalVolume, OnlyLocksForChangingTheCellsCountAsChanges)
{
    TotalVolume volume(3, 3, 3, 1.f, 1.f, 1.f, Util::Vector3D(), {});
    const uint64_t start = volume.cellChangeCount();
    {
        const Model::Automaton::CellReadLock reading(volume);
        EXPECT_TRUE(reading.owns());
    }
    std::unique_ptr<Model::Object> copy(volume.clone());
    EXPECT_EQ(volume.cellChangeCount(), start);

    {
        const Model::Automaton::CellLock writing(volume);
        EXPECT_EQ(volume.cellChangeCount(), start + 1) << "counted when taken, before anything is read";
        // Someone else holds the cells: a reader that will not wait gets nothing.
        const Model::Automaton::CellReadLock tried(volume, std::try_to_lock);
        EXPECT_FALSE(tried.owns());
        EXPECT_EQ(tried.cells(), nullptr);
    }
    volume.lockCells();
    volume.unlockCells();
    EXPECT_EQ(volume.cellChangeCount(), start + 2);
    const Model::Automaton::CellReadLock free(volume, std::try_to_lock);
    EXPECT_TRUE(free.owns());
}
