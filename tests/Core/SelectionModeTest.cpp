#include "OperationDoubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace CoreTest;
using ::testing::ElementsAre;

TEST(SelectionMode, PickedNamesToggleObjectsInOrderAndArePublished)
{
    Core::ApplicationModel model;
    auto a = addVolume(model);
    auto b = addVolume(model);
    auto c = addVolume(model);
    auto &selection = model.selectionMode();
    auto name = [](const std::shared_ptr<Model::Automaton::TotalVolume> &v) { return uint32_t(v->objectId()); };
    const uint32_t kUnknownName = 999999;
    const std::vector<uint32_t> firstHit = {name(c), name(a)};
    selection.togglePicked(firstHit);
    EXPECT_THAT(selection.selectedObjects(), ElementsAre(c, a));
    EXPECT_TRUE(c->isSelected());
    EXPECT_TRUE(a->isSelected());
    EXPECT_FALSE(b->isSelected());
    EXPECT_EQ(model.selectedObjects(), selection.selectedObjects());
    const std::vector<uint32_t> secondHit = {name(a), kUnknownName, name(b)};
    selection.togglePicked(secondHit);
    EXPECT_THAT(selection.selectedObjects(), ElementsAre(c, b));
    EXPECT_FALSE(a->isSelected());
    EXPECT_EQ(model.selectedObjects(), selection.selectedObjects());
}

TEST(SelectionMode, SwitchingOffClearsTheSelectionAndObserversHearOnlyChanges)
{
    Core::ApplicationModel model;
    Journal journal;
    auto observer = std::make_shared<JournalObserver>(&journal, "mode changed");
    auto &selection = model.selectionMode();
    selection.addObserver(observer);
    auto volume = addVolume(model);
    selection.setSelectionMode(true);
    selection.setSelectionMode(true);
    EXPECT_EQ(observer->calls, 1);
    selection.toggleObject(volume->objectId());
    selection.setSelectionMode(false);
    EXPECT_EQ(observer->calls, 2);
    EXPECT_FALSE(selection.isSelectionMode());
    EXPECT_FALSE(volume->isSelected());
    EXPECT_TRUE(selection.selectedObjects().isEmpty());
    EXPECT_TRUE(model.selectedObjects().isEmpty());
    selection.setSelectionMode(false);
    EXPECT_EQ(observer->calls, 2);
}
