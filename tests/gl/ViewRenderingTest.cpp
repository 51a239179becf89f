#include "ViewFixture.h"

#include "Core/ApplicationModel.h"
#include "UI/MainWindowPresenter.h"

#include <GL/gl.h>
#include <QAction>
#include <QTemporaryDir>
#include <QTest>

using GlTest::ViewTest;

TEST_F(ViewTest, FrameShowsTheBackgroundAroundTheObject)
{
    const QImage image = frame();
    ASSERT_EQ(image.size(), view->size());
    const int w = image.width() - 1, h = image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        EXPECT_EQ(image.pixel(corner), kWhite) << corner.x() << "," << corner.y();
    EXPECT_EQ(image.pixel(centre()), kBoxColor);
    // Top view, zoom 1: one world unit per pixel, so the box's edge at x = 20 shows 20 pixels
    // right of the centre.
    EXPECT_EQ(image.pixel(centre() + QPoint(18, 0)), kBoxColor);
    EXPECT_EQ(image.pixel(centre() + QPoint(23, 0)), kWhite);

    window->action("actionRender_Objects")->trigger();
    EXPECT_FALSE(view->drawFaces());
    EXPECT_EQ(frame().pixel(centre()), kWhite);
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

    EXPECT_FALSE(view->pickAt(QPoint(5, 5)));
    EXPECT_FALSE(box->isSelected());

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
