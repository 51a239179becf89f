// The step with which process operations pick the cell volume they act on.
#include "OperationDoubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace CoreTest;
using ::testing::ElementsAre;

namespace {

// A scene object that is not a cell volume.
class Sketch : public Model::Object {
public:
    uint32_t objectType() const override { return ExtractedModelType; }
    void paint(bool, bool, const Util::Vector3D &) override {}
    void paintForPicking() override {}
    Object *clone() override { return nullptr; }
    void move(const Util::Vector4D &) override {}
    void transform(const Util::Vector4D &, const Util::Vector4D &) override {}
};

struct VolumeChoiceTest : ::testing::Test {
    VolumeChoiceTest()
    {
        watchConsole(model, journal);
        model.addUpdateObserver(std::make_shared<JournalObserver>(&journal, "view updated"));
        FakeOperation *raw = etch.get();
        etch->onExecute = [raw] { raw->chooseVolumeThenFinish(); };
        // Tells which volume the options dialog would see.
        etch->setOptionsObserver(std::make_shared<JournalObserver>(&journal, [raw] {
            return "options for " + std::to_string(raw->chosenVolume() ? raw->chosenVolume()->objectId() : -1);
        }));
    }

    void select(const std::shared_ptr<Model::Object> &object) { model.selectionMode().toggleObject(object->objectId()); }
    std::string optionsFor(const std::shared_ptr<Model::Object> &object)
    {
        return "options for " + std::to_string(object->objectId());
    }

    Journal journal; // outlives the operations the model holds
    Core::ApplicationModel model;
    std::shared_ptr<FakeOperation> etch = std::make_shared<FakeOperation>(&model, "Etch", &journal);
    const std::string prompt = "console: Etch: Select a cell volume and press Enter/Return.";
};

} // namespace

TEST_F(VolumeChoiceTest, TakesTheFirstSelectedVolume)
{
    auto sketch = std::make_shared<Sketch>();
    model.scene().addObject(sketch);
    auto first = addVolume(model);
    auto second = addVolume(model);
    model.selectionMode().setSelectionMode(true);
    select(sketch);
    select(second);
    select(first);
    model.startOperation(etch);
    EXPECT_EQ(etch->chosenVolume(), second);
    EXPECT_THAT(journal.entries,
                ElementsAre("Etch.execute", "view updated", "console: Etch: Cell volume selected.",
                            optionsFor(second), "Etch.finish", "console: Etch: Operation finished.", "view updated"));
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
    EXPECT_TRUE(model.selectedObjects().isEmpty());
    EXPECT_FALSE(second->isSelected());
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST_F(VolumeChoiceTest, AnOnlyObjectThatIsNoVolumeIsNotTaken)
{
    model.scene().addObject(std::make_shared<Sketch>());
    model.startOperation(etch);
    EXPECT_THAT(journal.entries, ElementsAre("Etch.execute", prompt));
}

TEST_F(VolumeChoiceTest, OtherwiseWaitsForASelectionAndEnter)
{
    addVolume(model);
    auto second = addVolume(model);
    model.startOperation(etch);
    EXPECT_THAT(journal.entries, ElementsAre("Etch.execute", prompt));
    EXPECT_EQ(model.currentOperation(), etch);
    EXPECT_EQ(model.inputRequest().requester(), etch.get());
    EXPECT_TRUE(model.inputRequest().isWaitingForEnter());
    EXPECT_TRUE(model.selectionMode().isSelectionMode());

    // Enter with nothing selected: asked again.
    journal.entries.clear();
    model.inputRequest().submit("");
    EXPECT_THAT(journal.entries, ElementsAre("Etch.execute", prompt));
    EXPECT_TRUE(model.inputRequest().isWaitingForEnter());
    select(second);
    model.inputRequest().submit("");
    EXPECT_EQ(etch->chosenVolume(), second);
    EXPECT_TRUE(journal.contains(optionsFor(second)));
    EXPECT_TRUE(journal.contains("Etch.finish"));
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
}
