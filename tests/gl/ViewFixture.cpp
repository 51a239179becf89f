#include "ViewFixture.h"

#include "Model/ColorTable.h"
#include "UI/MainWindowPresenter.h"

#include <GL/gl.h>
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

namespace GlTest {

void BoxObject::paint(bool drawFaces, bool, const Util::Vector3D &)
{
    if (!drawFaces)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor3ub(GLubyte(qRed(rgb)), GLubyte(qGreen(rgb)), GLubyte(qBlue(rgb)));
    drawBox();
    glPopAttrib();
}

void BoxObject::move(const Util::Vector4D &displacement)
{
    low += Util::Vector3D(displacement);
    high += Util::Vector3D(displacement);
}

void BoxObject::drawBox() const
{
    const Util::Vector3D shift = isTemporary() ? temporaryDisplacement() : Util::Vector3D();
    const Util::Vector3D a(low + shift);
    const Util::Vector3D b(high + shift);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    for (int axis = 0; axis < 3; ++axis) {
        for (double level : {a[axis], b[axis]}) {
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            const double corners[4][2] = {{a[u], a[v]}, {b[u], a[v]}, {b[u], b[v]}, {a[u], b[v]}};
            for (const auto &corner : corners) {
                double p[3];
                p[axis] = level;
                p[u] = corner[0];
                p[v] = corner[1];
                glVertex3dv(p);
            }
        }
    }
    glEnd();
    glPopAttrib();
}

void ViewTest::SetUp()
{
    window = std::make_unique<Ui::MainWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(kWindowWidth, kWindowHeight);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QApplication::setActiveWindow(window.get());
    view = window->view();
    ASSERT_TRUE(view->isValid()) << "the view got no OpenGL context";

    Model::ColorTable::instance().setCurrentSet(Model::ColorTable::kLowColorSet);
    window->setView("top");
    window->action("actionShow_Axis")->setChecked(false);
    box = std::make_shared<BoxObject>(Util::Vector3D(-20, -20, -20), Util::Vector3D(20, 20, 20), kBoxColor);
    window->presenter().scene().addObject(box);
}

void ViewTest::TearDown()
{
    window.reset();
    Model::ColorTable::instance().restoreDefaults();
}

QPoint ViewTest::screenPointOf(const Util::Vector3D &world) const
{
    const QVector4D clip = view->projectionMatrix() * view->viewState().modelView() *
                           QVector4D(float(world.x), float(world.y), float(world.z), 1.0f);
    const double x = (clip.x() / clip.w() + 1.0) / 2.0 * view->width();
    const double y = (1.0 - (clip.y() / clip.w() + 1.0) / 2.0) * view->height();
    return QPoint(int(std::lround(x)), int(std::lround(y)));
}

void ViewTest::moveMouse(const QPoint &pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent move(QEvent::MouseMove, pos, view->mapToGlobal(pos), Qt::NoButton, buttons, modifiers);
    QApplication::sendEvent(view, &move);
}

void ViewTest::wheel(int delta, Qt::KeyboardModifiers modifiers)
{
    const QPointF pos = centre();
    QWheelEvent event(pos, view->mapToGlobal(centre()), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

} // namespace GlTest
