// Look-ups and edits of the material and process catalogues in memory.
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"

#include <gtest/gtest.h>

using Model::Materials::Material;
using Model::Materials::MaterialFactory;
using Model::Process::Process;
using Model::Process::ProcessFactory;

namespace {

class CatalogueLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        materials->createDefaultMaterials();
        processes->createDefaultProcesses();
    }

    // Every id that newMaterialId() may return, except `freeId`, is taken.
    void takeAllUserIdsBut(uint32_t freeId)
    {
        for (uint32_t id = 2000; id <= 32766; ++id)
            if (id != freeId)
                materials->setMaterial(Material(id, QStringLiteral("Taken"), 0, 0, 0));
    }

    std::shared_ptr<MaterialFactory> materials = MaterialFactory::instance();
    std::shared_ptr<ProcessFactory> processes = ProcessFactory::instance();
};

} // namespace

TEST_F(CatalogueLookup, AbsentEntriesYieldDefaultRecords)
{
    EXPECT_EQ(materials->material(2), Material());
    EXPECT_EQ(processes->process(19), Process());
}

TEST_F(CatalogueLookup, MaterialByNameIsExactAndTakesTheLowestId)
{
    materials->setMaterial(Material(2002, QStringLiteral("Glass"), 1, 2, 3));
    materials->setMaterial(Material(2001, QStringLiteral("Glass"), 4, 5, 6));
    EXPECT_EQ(materials->materialByName(QStringLiteral("Glass")).materialId(), 2001u);
    EXPECT_EQ(materials->materialByName(QStringLiteral("Si")).materialId(), 1u);
    EXPECT_EQ(materials->materialByName(QStringLiteral("si")), Material());
    EXPECT_EQ(materials->materialByName(QStringLiteral("Si ")), Material());
}

TEST_F(CatalogueLookup, SetInsertsOrReplacesButRefusesIdZero)
{
    const auto before = materials->materials();
    EXPECT_FALSE(materials->setMaterial(Material(0, QStringLiteral("Nothing"), 1, 1, 1)));
    EXPECT_EQ(materials->materials(), before);

    EXPECT_TRUE(materials->setMaterial(Material(1, QStringLiteral("Si"), 2330, 1.9e11f, 0.27f)));
    EXPECT_EQ(materials->material(1).density(), 2330.0f);
    EXPECT_EQ(materials->materials().size(), before.size());

    EXPECT_FALSE(processes->setProcess(Process(QStringLiteral("None"), 0, {1})));
    EXPECT_TRUE(processes->setProcess(Process(QStringLiteral("Laser"), 40, {4, 1})));
    EXPECT_EQ(processes->processes().back(), Process(QStringLiteral("Laser"), 40, {4, 1}));
}

TEST_F(CatalogueLookup, NewMaterialIdsLieInTheUserRangeAndAreFreeDownToTheLastOneAtEitherEnd)
{
    for (int i = 0; i < 500; ++i) {
        const uint32_t id = materials->newMaterialId();
        ASSERT_GE(id, 2000u);
        ASSERT_LE(id, 32766u);
        ASSERT_EQ(materials->material(id).materialId(), 0u);
    }

    // Repeated, so that a formula that can also reach 1999 or 32767 shows up.
    constexpr int kTries = 4;
    takeAllUserIdsBut(32766);
    for (int i = 0; i < kTries; ++i)
        ASSERT_EQ(materials->newMaterialId(), 32766u);
    materials->createDefaultMaterials();
    takeAllUserIdsBut(2000);
    for (int i = 0; i < kTries; ++i)
        ASSERT_EQ(materials->newMaterialId(), 2000u);
}

TEST_F(CatalogueLookup, CompatibleMaterialRecordsFollowListOrderAndSkipUnknownIds)
{
    const Process process(QStringLiteral("Test"), 50, {16, 999, 1, 0, 3});
    std::vector<QString> names;
    for (const Material &material : process.compatibleMaterialRecords())
        names.push_back(material.name());
    EXPECT_EQ(names, (std::vector<QString>{"Poly-Si", "Si", "Thermal Si02"}));
}
