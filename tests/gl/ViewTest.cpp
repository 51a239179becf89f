// The view on its own, with the fixture's green box: the frame it draws, picking by clicks,
// lamps, the saved image, and what the wheel, keys, drags and clicks do to the view and to a move.

#include "ViewFixture.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "UI/MainWindowPresenter.h"

#include <GL/gl.h>
#include <QAction>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QtMath>
#include <cmath>

using GlTest::ViewTest;

namespace {

void expectNear(const Util::Vector3D &actual, const Util::Vector3D &expected, double tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << actual;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << actual;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << actual;
}

} // namespace

TEST_F(ViewTest, WheelNotchesScaleTheZoomByATenth)
{
    QSignalSpy zoomSpy(view, &Ui::GLWidget::zoomChanged);
    wheel(120);
    EXPECT_FLOAT_EQ(view->zoom(), 1.1f);
    ASSERT_EQ(zoomSpy.count(), 1);
    EXPECT_FLOAT_EQ(zoomSpy.at(0).at(0).toFloat(), 110.0f);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Zoom = 110%");

    wheel(-120);
    EXPECT_FLOAT_EQ(view->zoom(), 1.0f);
    wheel(-120);
    EXPECT_FLOAT_EQ(view->zoom(), 1.0f / 1.1f);

    // Top view: one world unit per pixel at zoom 1, so at zoom 2 the box's edge (x = 20) shows
    // 40 pixels right of the centre.
    view->setZoom(2.0f);
    EXPECT_EQ(frame().pixel(centre() + QPoint(38, 0)), kBoxColor);
    EXPECT_EQ(frame().pixel(centre() + QPoint(43, 0)), kWhite);

    // With Shift the wheel moves the active lamp instead.
    wheel(120, Qt::ShiftModifier);
    EXPECT_FLOAT_EQ(view->zoom(), 2.0f);
    EXPECT_NEAR(view->lamp(1).radius, 330.0f, 1e-3f);
}

TEST_F(ViewTest, KeysTranslateTheAxesAndSwitchTheActiveLamp)
{
    QTest::keyClick(window.get(), Qt::Key_Q);
    QTest::keyClick(window.get(), Qt::Key_Q);
    QTest::keyClick(window.get(), Qt::Key_S);
    QTest::keyClick(window.get(), Qt::Key_E);
    EXPECT_EQ(view->axisTranslation(), QVector3D(10, -5, 5));
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "Volume position in relation to the axes: X = 10 Y = -5 Z = 5");

    view->setLampCount(3);
    view->setActiveLamp(2);
    QTest::keyClick(window.get(), Qt::Key_L);
    EXPECT_EQ(view->activeLamp(), 3);
    QTest::keyClick(window.get(), Qt::Key_L);
    EXPECT_EQ(view->activeLamp(), 1);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QString::fromUtf8("Lamp 1 Position : Radius = 300 Angle θ = 60 Angle φ = 45"));
}

TEST_F(ViewTest, DragsTurnAndShiftTheView)
{
    // A horizontal drag from the centre turns the view about the screen's vertical axis by
    // twice the angle between the two points lifted onto the window's ellipsoid.
    const double w = view->width(), h = view->height(), dx = 50.0;
    const double z1 = std::sqrt((1.0 - dx * dx / (w * w)) * (w + h) * (w + h) / 4.0);
    const double expected = 2.0 * qRadiansToDegrees(std::asin(dx / std::hypot(dx, z1)));

    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, centre());
    moveMouse(centre() + QPoint(int(dx), 0), Qt::LeftButton);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, centre() + QPoint(int(dx), 0));
    EXPECT_NEAR(view->rotationAngles().x(), 0.0, 1e-3);
    EXPECT_NEAR(view->rotationAngles().y(), expected, 1e-3);
    EXPECT_NEAR(view->rotationAngles().z(), 0.0, 1e-3);

    // A right drag shifts the picture by the pointer's path over the zoom, y upwards.
    view->setZoom(2.0f);
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, centre());
    moveMouse(centre() + QPoint(30, 20), Qt::RightButton);
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, centre() + QPoint(30, 20));
    EXPECT_EQ(view->screenPosition(), QPointF(15, -10));
    EXPECT_EQ(window->statusBar()->currentMessage(), "Volume position in relation to the screen: X = 15 Y = -10");
}

TEST_F(ViewTest, PointerMeetsTheGridPlane)
{
    view->setRotation(-60, 0, 30);
    view->setZoom(1.5f);
    view->setScreenPosition(12.0f, -7.0f);
    const Util::Vector3D onPlane(40.0, -25.0, 0.0);
    const Util::Vector3D clicked = view->worldPointAt(screenPointOf(onPlane));
    EXPECT_EQ(clicked.z, 0.0);
    expectNear(clicked, onPlane, 1.5);

    view->setSnapToGrid(true);
    view->setGridSpacing(10.0);
    EXPECT_EQ(view->worldPointAt(screenPointOf(Util::Vector3D(33.0, 18.0, 0.0))), Util::Vector3D(30.0, 20.0, 0.0));

    // Seen edge-on (front view), the plane gives way to the plane through the origin that
    // faces the viewer.
    view->setSnapToGrid(false);
    view->setScreenPosition(0.0f, 0.0f);
    view->setZoom(1.0f);
    window->setView("front");
    expectNear(view->worldPointAt(centre() + QPoint(30, -20)), Util::Vector3D(30.0, 0.0, 20.0), 1.0);
}

TEST_F(ViewTest, ClicksGiveAMoveItsBasePointAndDestination)
{
    auto &model = window->presenter().applicationModel();
    window->action("actionSnap_to_Grid")->setChecked(true);
    view->setRotation(-60, 0, 30);
    model.selectionMode().toggleObject(box->objectId());
    window->presenter().operationActivated(QString::number(Core::Operations::MoveId));
    ASSERT_EQ(model.inputRequest().mode(), Core::Operations::InputRequest::PointMode);

    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, screenPointOf(Util::Vector3D(1.0, -2.0, 0.0)));
    EXPECT_NE(model.inputRequest().pickState(), 0u);
    EXPECT_TRUE(box->isTemporary());

    // Between the clicks the preview follows the pointer.
    moveMouse(screenPointOf(Util::Vector3D(41.0, 9.0, 0.0)));
    EXPECT_EQ(box->temporaryDisplacement(), Util::Vector3D(40.0, 10.0, 0.0));
    EXPECT_EQ(box->lowCorner(), Util::Vector3D(-20.0, -20.0, -20.0));

    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, screenPointOf(Util::Vector3D(49.0, -31.0, 0.0)));
    EXPECT_EQ(model.inputRequest().pickState(), 0u);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_FALSE(box->isTemporary());
    EXPECT_EQ(box->lowCorner(), Util::Vector3D(30.0, -50.0, -20.0));
    EXPECT_EQ(window->action("actionUndo")->text(), "Undo Move Objects");

    // With the move over, pointer motion and clicks leave the box alone.
    moveMouse(centre());
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre());
    EXPECT_EQ(box->lowCorner(), Util::Vector3D(30.0, -50.0, -20.0));
}

TEST_F(ViewTest, ACanceledMoveForgetsItsBasePoint)
{
    auto &model = window->presenter().applicationModel();
    model.selectionMode().toggleObject(box->objectId());
    window->presenter().operationActivated(QString::number(Core::Operations::MoveId));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre());
    window->presenter().cancelPressed();

    // The next move starts again from its base point: motion before the first click moves
    // nothing, and the first click is not the destination.
    model.selectionMode().toggleObject(box->objectId());
    window->presenter().operationActivated(QString::number(Core::Operations::MoveId));
    moveMouse(centre() + QPoint(30, 0));
    EXPECT_EQ(box->temporaryDisplacement(), Util::Vector3D());
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre() + QPoint(30, 0));
    EXPECT_NE(model.currentOperation(), nullptr);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre() + QPoint(30, -20));
    EXPECT_EQ(model.currentOperation(), nullptr);
    expectNear(box->lowCorner(), Util::Vector3D(-20.0, 0.0, -20.0), 1e-3);
}

TEST_F(ViewTest, ClicksInSelectionModeToggleThePickedObject)
{
    auto &model = window->presenter().applicationModel();
    EXPECT_FALSE(view->pickAt(centre())) << "selection mode is off";

    window->action("actionSelect")->trigger();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre());
    EXPECT_TRUE(box->isSelected());
    ASSERT_EQ(model.selectedObjects().size(), 1);
    EXPECT_EQ(model.selectedObjects().first(), box);

    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre() + QPoint(10, -10));
    EXPECT_FALSE(box->isSelected());
    EXPECT_TRUE(model.selectedObjects().isEmpty());

    // A drag turns the view and picks nothing.
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, centre());
    moveMouse(centre() + QPoint(30, 0), Qt::LeftButton);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, centre() + QPoint(30, 0));
    EXPECT_FALSE(box->isSelected());
}

TEST_F(ViewTest, DisablingALampSwitchesOffItsLightOnly)
{
    view->setLampCount(3);
    for (int lamp = 1; lamp <= 3; ++lamp)
        view->setLampEnabled(lamp, true);
    view->setLampEnabled(2, false);

    view->makeCurrent();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));

    // A frame keeps the lamps as they are.
    frame();
    view->makeCurrent();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
}

TEST_F(ViewTest, SavedImageIsTheFrameAtTheViewsSize)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("view.png");
    ASSERT_TRUE(window->saveImage(name));

    QImage saved(name);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), view->size());
    EXPECT_EQ(saved.pixel(0, 0), kWhite);
    EXPECT_EQ(saved.pixel(centre()), kBoxColor);

    EXPECT_TRUE(window->saveImage(dir.filePath("view.jpg")));
    EXPECT_EQ(QImage(dir.filePath("view.jpg")).size(), view->size());
}
