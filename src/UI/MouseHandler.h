#pragma once

#include "Util/Vector3D.h"

#include <QPoint>
#include <QPointF>
#include <QVector3D>

namespace Ui {

// Turns pointer positions in the 3D view into view changes: a trackball rotation, a
// translation in the screen plane, or the angles of a lamp on a sphere around the viewer.
// Positions are centred on the window, with y growing upwards. The handler also draws the
// overlay that ends every frame: a small cross at the point a click would deliver while an
// operation waits for one.
class MouseHandler {
public:
    // One trackball step: turn the view by `angle` degrees about `axis` (eye coordinates),
    // applied before the view's current rotation.
    struct Rotation {
        QVector3D axis;
        float angle = 0.0f;
    };

    // Called by the view on every resize and zoom change.
    void setWindow(int width, int height, float zoom);

    QPointF centred(const QPoint &pos) const;
    // The centred point lifted onto the ellipsoid that spans the window; z is 0 outside it.
    QVector3D lift(const QPointF &centredPoint) const;

    // Starts a drag at `pos`: every step below measures from the previous position.
    void press(const QPoint &pos);
    // The rotation that carries the previous lifted point to the one under `pos`; false when
    // the pointer has not moved enough to define one.
    bool rotationTo(const QPoint &pos, Rotation *rotation);
    // The pointer displacement since the previous position in view units (pixels / zoom).
    QPointF translationTo(const QPoint &pos);
    // Angles (radians) of the lifted point under `pos`: θ around the view axis from the
    // screen's x axis, φ above the screen plane.
    void lampAnglesAt(const QPoint &pos, double *theta, double *phi);

    void setPointMarker(const Util::Vector3D &worldPoint);
    void clearPointMarker();
    bool hasPointMarker() const { return markerShown; }
    Util::Vector3D pointMarker() const { return marker; }
    // Draws the overlay with the view's matrices loaded (GL context current).
    void paintOverlay() const;

private:
    int width = 1;
    int height = 1;
    float zoom = 1.0f;
    QPoint previous;
    Util::Vector3D marker;
    bool markerShown = false;
};

} // namespace Ui
