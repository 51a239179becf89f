#include "../StepRun.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/CreateSubstrate/SubstrateBuilder.h"
#include "Core/Operations/ObjectOperations/CopyObject.h"
#include "Core/Operations/ObjectOperations/DeleteObject.h"
#include "Core/Operations/ObjectOperations/MoveObject.h"
#include "Core/Operations/ObjectOperations/SelectVolumesOperation.h"
#include "common/Cells.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

struct Fixture : ::testing::Test, CoreTest::LoggedModel {
    std::shared_ptr<TotalVolume> addVolume(const Util::Vector3D &origin = Util::Vector3D())
    {
        auto volume = std::make_shared<TotalVolume>(4, 3, 2, 1.f, 1.f, 1.f, origin, std::vector<uint32_t>(24, 1));
        model.scene().addObject(volume);
        return volume;
    }


    std::shared_ptr<CreateSubstrateOperation> createBox(uint32_t x, uint32_t y, uint32_t z)
    {
        return CoreTest::startStep<CreateSubstrateOperation>(
            model, [=](auto &op) { op.setBox(1, x, y, z, Util::Vector3D(5, 6, 7), 0, 0, 0, x, y, 1); });
    }
};

} // namespace

TEST(SubstrateBuilder, BoxIsClippedAtTheFarFaces)
{
    SubstrateBuilder builder;
    builder.setMaterial(4);
    builder.setVolumeSize(5, 4, 3);
    builder.setBox(10, 10, 10, 3, 2, 1);
    // 2 × 2 × 2 cells are left in the far corner.
    EXPECT_EQ(builder.fill(), materialsOf(*volumeOf(5, 4, 3, [](uint32_t x, uint32_t y, uint32_t z) {
                  return x >= 3 && y >= 2 && z >= 1 ? 4u : 0u;
              })));
}

TEST(SubstrateBuilder, SphereOfRadiusZeroIsItsCentreCellAndLargerSpheresAreBalls)
{
    SubstrateBuilder builder;
    builder.setMaterial(9);
    builder.setVolumeSize(7, 7, 7);
    builder.setSphere(3, 2, 4, 0);
    std::vector<uint32_t> expected(7 * 7 * 7, 0u);
    expected[(3 * 7 + 2) * 7 + 4] = 9;
    EXPECT_EQ(builder.fill(), expected);
    builder.setSphere(0, 0, 0, 2); // cut off at the volume's faces
    const auto ball = builder.fill();
    EXPECT_EQ(ball, materialsOf(*volumeOf(7, 7, 7, [](uint32_t x, uint32_t y, uint32_t z) {
                  return x * x + y * y + z * z <= 4 ? 9u : 0u;
              })));
    EXPECT_EQ(std::count(ball.begin(), ball.end(), 9u), 11); // the octant of a radius-2 ball, boundary included
}

TEST_F(Fixture, CreatedSubstrateIsUndoneAndRedoneAsTheSameObject)
{
    auto op = createBox(6, 5, 4);
    auto volume = op->createdVolume();
    ASSERT_TRUE(volume);
    EXPECT_EQ(log->last(), "Create Substrate: substrate created successfully.");
    EXPECT_EQ(volume->sizeX(), 6u);
    EXPECT_EQ(volume->origin(), Util::Vector3D(5, 6, 7));
    EXPECT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.undoRedo().undoName(), "Create Substrate");
    EXPECT_EQ(model.currentOperation(), nullptr);
    const int id = volume->objectId();
    EXPECT_TRUE(model.undoRedo().undo());
    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_TRUE(model.undoRedo().redo());
    ASSERT_EQ(model.scene().objects().size(), 1);
    EXPECT_EQ(model.scene().objects().front()->objectId(), id);
}

TEST_F(Fixture, SubstrateWithoutParametersOrTooLargeCreatesNothing)
{
    auto idle = std::make_shared<CreateSubstrateOperation>(&model); // the dialog was rejected
    model.startOperation(idle);
    EXPECT_EQ(model.currentOperation(), idle);
    EXPECT_TRUE(model.scene().objects().isEmpty());
    createBox(10000, 10000, 10000);
    EXPECT_TRUE(model.scene().objects().isEmpty());
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_NE(log->last().find("Volume too large."), std::string::npos);
}

TEST_F(Fixture, TypedMoveTranslatesTheSelectionAndUndoMovesItBack)
{
    auto volume = addVolume(Util::Vector3D(1, 2, 3));
    auto other = addVolume(Util::Vector3D(0, 0, 0));
    select(volume);
    model.startOperation(std::make_shared<MoveObject>(&model));
    EXPECT_EQ(log->last(), "Move: Left click or enter the distance into the console (x, y, z):");
    EXPECT_TRUE(volume->isTemporary());
    model.inputRequest().submit("10, 0, 0");
    EXPECT_EQ(volume->origin(), Util::Vector3D(11, 2, 3));
    EXPECT_EQ(other->origin(), Util::Vector3D(0, 0, 0));
    EXPECT_FALSE(volume->isTemporary());
    EXPECT_EQ(log->last(), "Move: Object(s) moved");
    EXPECT_EQ(model.undoRedo().undoName(), "Move Objects");
    model.undoRedo().undo();
    EXPECT_EQ(volume->origin(), Util::Vector3D(1, 2, 3));
    model.undoRedo().redo();
    EXPECT_EQ(volume->origin(), Util::Vector3D(11, 2, 3));
}

TEST_F(Fixture, MoveWaitsForASelectionThenTakesClicks)
{
    auto volume = addVolume();
    model.startOperation(std::make_shared<MoveObject>(&model));
    EXPECT_EQ(log->last(), "Move: Select the object(s) to be copied and press Enter/Return.");
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    select(volume);
    model.inputRequest().submit("");
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
    EXPECT_EQ(model.inputRequest().pickState(), InputRequest::kPickArmed);
    auto &request = model.inputRequest();
    request.deliverPick(Util::Vector4D(1, 1, 0, 0), false); // base point
    EXPECT_EQ(log->last(), "Move: Left click on destination.");
    request.deliverPick(Util::Vector4D(3, 1, 0, 0), false); // the pointer moves on
    EXPECT_EQ(volume->temporaryDisplacement(), Util::Vector3D(2, 0, 0));
    EXPECT_EQ(volume->origin(), Util::Vector3D(0, 0, 0));
    request.deliverPick(Util::Vector4D(4, 5, 0, 0), true); // destination
    EXPECT_EQ(volume->origin(), Util::Vector3D(3, 4, 0));
    EXPECT_EQ(model.undoRedo().undoName(), "Move Objects");
}

TEST_F(Fixture, CancelledMoveLeavesObjectsWhereTheyWere)
{
    auto volume = addVolume();
    select(volume);
    model.startOperation(std::make_shared<MoveObject>(&model));
    model.inputRequest().deliverPick(Util::Vector4D(1, 1, 0, 0), false);
    model.inputRequest().deliverPick(Util::Vector4D(5, 1, 0, 0), false);
    model.cancelCurrent();
    EXPECT_EQ(log->last(), "Move: Operation canceled");
    EXPECT_FALSE(volume->isTemporary());
    EXPECT_EQ(volume->temporaryDisplacement(), Util::Vector3D());
    EXPECT_EQ(volume->origin(), Util::Vector3D());
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
}

TEST_F(Fixture, CopyAddsDisplacedClonesThatUndoRemoves)
{
    auto volume = addVolume(Util::Vector3D(1, 1, 1));
    select(volume);
    auto copy = std::make_shared<CopyObject>(&model);
    model.startOperation(copy);
    EXPECT_EQ(log->last(), "Copy: Left click or enter the distance into the console (x, y, z):");
    model.inputRequest().submit("0,0,2");
    EXPECT_EQ(log->last(), "Copy: Object(s) copied");
    ASSERT_EQ(copy->copies().size(), 1);
    auto clone = std::dynamic_pointer_cast<TotalVolume>(copy->copies().front());
    ASSERT_TRUE(clone);
    EXPECT_NE(clone->objectId(), volume->objectId());
    EXPECT_EQ(clone->origin(), Util::Vector3D(1, 1, 3));
    EXPECT_EQ(volume->origin(), Util::Vector3D(1, 1, 1));
    EXPECT_EQ(materialsOf(*clone), materialsOf(*volume));
    EXPECT_EQ(model.scene().objects().size(), 2);
    model.undoRedo().undo();
    EXPECT_EQ(model.scene().objects().size(), 1);
    model.undoRedo().redo();
    EXPECT_EQ(model.scene().objects().size(), 2);
}

TEST_F(Fixture, DeleteRemovesTheSelectionAndUndoRestoresItButNothingSelectedCancels)
{
    auto a = addVolume();
    auto b = addVolume();
    model.startOperation(std::make_shared<DeleteObject>(&model));
    EXPECT_EQ(log->last(), "Delete: Select the objects to be deleted and press Return/Enter");
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    model.inputRequest().submit("");
    EXPECT_EQ(log->last(), "Delete: Operation canceled, no selected objects.");
    EXPECT_EQ(model.scene().objects().size(), 2);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    select(b);
    model.startOperation(std::make_shared<DeleteObject>(&model));
    EXPECT_EQ(log->last(), "Delete: objects deleted.");
    EXPECT_EQ(model.scene().objects(), QList<std::shared_ptr<Model::Object>>({a}));
    model.undoRedo().undo();
    EXPECT_EQ(model.scene().objects().size(), 2);
    model.undoRedo().redo();
    EXPECT_EQ(model.scene().objects().size(), 1);
}

TEST_F(Fixture, BatchVolumeSelectionTakesTheSelectedVolumeOrNone)
{
    auto volume = addVolume();
    int opened = 0;
    std::shared_ptr<TotalVolume> openedWith;
    const auto start = [&] {
        CoreTest::startStep<SelectVolumesOperation>(model, [&](auto &op) { ++opened, openedWith = op.chosenVolume(); });
    };
    start();
    EXPECT_EQ(log->last(), "Select volumes: Select a cell volume and press Enter/Return. To start without a cell "
                           "volume type N and press Enter/Return.");
    model.inputRequest().submit("n");
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(openedWith, nullptr);
    EXPECT_EQ(model.currentOperation(), nullptr);
    select(volume);
    start();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(openedWith, volume);
    EXPECT_EQ(log->last(), "Select volumes: Cell volume selected.");
}
