#include "MouseHandler.h"

#include "Model/ColorTable.h"

#include <GL/gl.h>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace Ui {

namespace {

// The trackball turns about the axis through this point and the pointer's path.
const QVector3D kTrackballReference(0.0f, 0.0f, 0.0f);
// The view turns by this multiple of the angle between two lifted points.
constexpr float kTrackballGain = 2.0f;
constexpr float kMinimumAxisLength = 1e-6f;
constexpr float kMarkerHalfSize = 6.0f; // pixels

} // namespace

void MouseHandler::setWindow(int w, int h, float z)
{
    width = std::max(w, 1);
    height = std::max(h, 1);
    zoom = z;
}

QPointF MouseHandler::centred(const QPoint &pos) const
{
    return QPointF(pos.x() - width / 2.0, height / 2.0 - pos.y());
}

QVector3D MouseHandler::lift(const QPointF &c) const
{
    const double w = width;
    const double h = height;
    const double inside = 1.0 - c.x() * c.x() / (w * w) - c.y() * c.y() / (h * h);
    const double z = inside > 0.0 ? std::sqrt(inside * (w + h) * (w + h) / 4.0) : 0.0;
    return QVector3D(float(c.x()), float(c.y()), float(z));
}

void MouseHandler::press(const QPoint &pos)
{
    previous = pos;
}

bool MouseHandler::rotationTo(const QPoint &pos, Rotation *rotation)
{
    const QVector3D p = lift(centred(previous));
    const QVector3D c = lift(centred(pos));
    previous = pos;
    const QVector3D axis = QVector3D::crossProduct(kTrackballReference - p, p - c);
    const float lengths = c.length() * p.length();
    if (axis.length() < kMinimumAxisLength || lengths <= 0.0f)
        return false;
    const float sine = std::min(QVector3D::crossProduct(c, p).length() / lengths, 1.0f);
    rotation->axis = axis.normalized();
    rotation->angle = kTrackballGain * qRadiansToDegrees(std::asin(sine));
    return true;
}

QPointF MouseHandler::translationTo(const QPoint &pos)
{
    const QPointF delta((pos.x() - previous.x()) / double(zoom), (previous.y() - pos.y()) / double(zoom));
    previous = pos;
    return delta;
}

void MouseHandler::lampAnglesAt(const QPoint &pos, double *theta, double *phi)
{
    const QVector3D p = lift(centred(pos));
    previous = pos;
    *theta = std::atan2(double(p.y()), double(p.x()));
    *phi = std::atan2(double(p.z()), std::hypot(double(p.x()), double(p.y())));
}

void MouseHandler::setPointMarker(const Util::Vector3D &worldPoint)
{
    marker = worldPoint;
    markerShown = true;
}

void MouseHandler::clearPointMarker()
{
    markerShown = false;
}

void MouseHandler::paintOverlay() const
{
    if (!markerShown)
        return;
    const Util::Vector4D color = Model::ColorTable::instance().color(Model::ColorTable::ObjectTemporaryColor);
    const double s = kMarkerHalfSize / zoom;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3d(color.x, color.y, color.z);
    glBegin(GL_LINES);
    glVertex3d(marker.x - s, marker.y, marker.z);
    glVertex3d(marker.x + s, marker.y, marker.z);
    glVertex3d(marker.x, marker.y - s, marker.z);
    glVertex3d(marker.x, marker.y + s, marker.z);
    glVertex3d(marker.x, marker.y, marker.z - s);
    glVertex3d(marker.x, marker.y, marker.z + s);
    glEnd();
    glPopAttrib();
}

} // namespace Ui
