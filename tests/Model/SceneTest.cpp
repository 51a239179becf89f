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

TEST(ColorTable, RowsAndSchemes)
{
    EXPECT_EQ(ColorTable::names(),
              QStringList({"Object Color", "Outline Color", "Grid Color", "Background Color", "Substrate Object Color",
                           "Substrate Outline Color", "Console Background Color", "Console Text Color",
                           "Object Temporary Color"}));

    const Vector4D black(0, 0, 0, 1), white(1, 1, 1, 1), red(1, 0, 0, 1), grey(0.4, 0.4, 0.4, 1),
        lightGrey(0.6, 0.6, 0.6, 1), clearBlack(0, 0, 0, 0), clearWhite(1, 1, 1, 0);
    // Columns: default scheme, low colour scheme, custom set.
    const Vector4D expected[ColorTable::KindCount][ColorTable::kSetCount] = {
        {black, white, red},                  // object
        {white, black, white},                // outline
        {grey, grey, grey},                   // grid
        {clearBlack, clearWhite, clearBlack}, // background
        {grey, grey, grey},                   // substrate object
        {lightGrey, lightGrey, lightGrey},    // substrate outline
        {white, black, white},                // console background
        {black, white, black},                // console text
        {white, black, white},                // object temporary
    };
    const ColorTable &table = ColorTable::instance();
    for (int kind = 0; kind < ColorTable::KindCount; ++kind)
        for (int set = 0; set < ColorTable::kSetCount; ++set)
            EXPECT_EQ(table.color(ColorTable::Kind(kind), set), expected[kind][set])
                << ColorTable::name(ColorTable::Kind(kind)).toStdString() << ", set " << set;
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
