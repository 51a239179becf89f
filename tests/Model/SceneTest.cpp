#include "Model/Automaton/TotalVolume.h"
#include "Model/ColorTable.h"
#include "Model/Scene.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using Model::ColorTable;
using Model::Automaton::TotalVolume;
using Util::Vector3D;
using Util::Vector4D;
using ::testing::ElementsAre;

namespace {

std::shared_ptr<TotalVolume> tinyVolume()
{
    return std::make_shared<TotalVolume>(1, 1, 1, 1.f, 1.f, 1.f, Vector3D(), std::vector<uint32_t>{1});
}

} // namespace

TEST(Object, NewObjectsTakeTheDefaultSchemeWhateverSchemeIsInForce)
{
    ColorTable &table = ColorTable::instance();
    table.setCurrentSet(ColorTable::kLowColorSet);
    auto volume = tinyVolume();
    table.setCurrentSet(ColorTable::kDefaultSet);

    EXPECT_EQ(volume->color(), Vector4D(0, 0, 0, 1));
    EXPECT_EQ(volume->outlineColor(), Vector3D(1, 1, 1));

    volume->setOutlineColor(Vector4D(0.2, 0.3, 0.4, 1));
    EXPECT_EQ(volume->outlineColor(), Vector3D(0.2, 0.3, 0.4));
}

TEST(Scene, ObjectsAreAddedFoundRemovedAndClearedAway)
{
    Model::Scene scene;
    ASSERT_EQ(scene.layers().size(), 1);
    const auto firstLayer = scene.currentLayer();
    EXPECT_EQ(firstLayer, scene.layers().front());
    EXPECT_EQ(firstLayer->number(), 0u);
    EXPECT_TRUE(firstLayer->isVisible());

    auto a = tinyVolume();
    auto b = tinyVolume();
    scene.addObject(a);
    scene.addObject(b);
    scene.addObject(a);
    EXPECT_THAT(scene.objects(), ElementsAre(a, b, a));

    bool found = false;
    EXPECT_EQ(scene.findObject(b->objectId(), &found), b);
    EXPECT_TRUE(found);
    EXPECT_EQ(scene.findObject(-1, &found), nullptr);
    EXPECT_FALSE(found);

    scene.removeObject(a); // every entry of it
    scene.removeObject(tinyVolume());
    EXPECT_THAT(scene.objects(), ElementsAre(b));

    scene.setDocumentName("wafer.vox");
    scene.clear();
    ASSERT_EQ(scene.layers().size(), 1);
    EXPECT_NE(scene.currentLayer(), firstLayer);
    EXPECT_EQ(scene.currentLayer(), scene.layers().front());
    EXPECT_EQ(scene.currentLayer()->number(), 0u);
    EXPECT_TRUE(scene.objects().isEmpty());
    EXPECT_EQ(scene.findObject(b->objectId(), &found), nullptr);
    EXPECT_EQ(scene.documentName(), QString());
}
