#pragma once

#include "MouseHandler.h"
#include "Util/Vector3D.h"

#include <QImage>
#include <QMatrix4x4>
#include <QMetaType>
#include <QOpenGLWidget>
#include <QPointF>
#include <QVector3D>
#include <QVector4D>
#include <array>
#include <cstdint>
#include <vector>

namespace Ui {

class MainWindowPresenter;

// The main window's 3D view: orthographic projection, a viewing transformation the user turns,
// zooms and shifts with the mouse, up to eight lamps, reference axes and a grid in the plane
// z = 0, and every scene object drawn once per frame. Objects are picked with OpenGL selection
// mode, and a click while an operation waits for a point becomes a point on the grid plane.
// Fixed-function OpenGL 1.x and GLU throughout, so the context is a compatibility profile.
class GLWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLamps = 8;

    // The viewing transformation: rotate by ax about x, ay about y, az about z, translate by the
    // axis translation, then by the screen offset, which is the screen position (u, v) carried
    // back through the rotation so that it always shifts the picture within the screen.
    struct ViewState {
        float u = 0.0f, v = 0.0f;
        std::array<float, 3> screenOffset{};
        std::array<float, 16> rotation{}; // column-major, as OpenGL returns it
        float ax = 0.0f, ay = 0.0f, az = 0.0f; // degrees
        float tx = 0.0f, ty = 0.0f, tz = 0.0f;

        // Rebuilds the rotation from the angles.
        void setAngles(float x, float y, float z);
        // Turns by `r` in eye space, before the current rotation, and re-reads the angles.
        void rotateBefore(const QMatrix4x4 &r);
        void updateScreenOffset();
        QMatrix4x4 modelView() const;
    };

    struct Lamp {
        float radius = 0.0f;
        float theta = 0.0f; // radians
        float phi = 0.0f;   // radians
        std::array<float, 4> position{0.0f, 0.0f, 0.0f, 1.0f}; // eye space
    };

    GLWidget(QWidget *parent, MainWindowPresenter *presenter);
    ~GLWidget() override;

    // Switches; each repaints.
    void setShowAxes(bool on);
    void setShowLamps(bool on);
    void setLighting(bool on);
    void setDrawFaces(bool on);
    void setDrawOutlines(bool on);
    void setShowGrid(bool on);
    void setSnapToGrid(bool on);
    void setGridSpacing(double spacing);
    bool showAxes() const { return axesShown; }
    bool showLamps() const { return lampsShown; }
    bool lighting() const { return lightingOn; }
    bool drawFaces() const { return facesDrawn; }
    bool drawOutlines() const { return outlinesDrawn; }
    bool showGrid() const { return gridShown; }
    bool snapToGrid() const { return gridSnap; }
    double gridSpacing() const { return spacing; }

    // The view; each setter repaints and emits the matching signal.
    void setRotation(int ax, int ay, int az);
    void setScreenPosition(float u, float v);
    void setAxisTranslation(float tx, float ty, float tz);
    void setZoom(float zoom);
    QVector3D rotationAngles() const { return QVector3D(view.ax, view.ay, view.az); }
    QPointF screenPosition() const { return QPointF(view.u, view.v); }
    QVector3D axisTranslation() const { return QVector3D(view.tx, view.ty, view.tz); }
    float zoom() const { return zoomFactor; }
    const ViewState &viewState() const { return view; }
    float depthRange() const { return depth; }
    // The orthographic projection of the current size and zoom, as the frame loads it.
    QMatrix4x4 projectionMatrix() const;

    // Lamps are numbered from 1; lamp i is OpenGL light i - 1. Angles in radians.
    void setLampCount(int count); // 1..8; new lamps start at the eye-space origin, disabled
    void setLampRadius(int lamp, float radius);
    void setLampAngles(int lamp, float theta, float phi);
    void setLampEnabled(int lamp, bool on);
    void setActiveLamp(int lamp);
    int lampCount() const { return int(lamps.size()); }
    int activeLamp() const { return active; }
    Lamp lamp(int lamp) const { return lamps.at(size_t(lamp - 1)); }
    bool isLampEnabled(int lamp) const { return (enabledLamps >> (lamp - 1)) & 1u; }

    // Where the ray under the window position `pos` meets the grid plane z = 0 (world
    // coordinates), snapped to the grid spacing when snapping is on.
    Util::Vector3D worldPointAt(const QPoint &pos) const;
    // Picks at a window position in selection mode; true when something was hit.
    bool pickAt(const QPoint &pos);
    // The last frame as an opaque image of the view's size (null without a GL context).
    QImage renderedImage();

public slots:
    void updateGL();
    void increaseTranslateX();
    void increaseTranslateY();
    void increaseTranslateZ();
    void decreaseTranslateX();
    void decreaseTranslateY();
    void decreaseTranslateZ();
    void swithActiveLamp();

signals:
    void zoomChanged(float percent);
    // (lamp number, radius, θ, φ), angles in degrees.
    void lampPositionChanged(std::vector<float> lamp);
    void axisPositionChanged(std::vector<float> translation);
    void viewPositionChanged(std::vector<float> screenPosition);
    void rotationChanged(std::vector<float> angles);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintGL() override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void createShortcuts(QWidget *window);
    void warnAboutMissingFeatures();
    void loadMatrices();
    void setupLights();
    void applyLamps();
    void updateLamp(int lamp);
    void emitLampPosition();
    void emitRotation();
    void emitAxisPosition();
    void translateAxes(int axis, float step);
    Util::Vector3D eyePosition() const;

    void drawGrid() const;
    void drawAxes() const;
    void drawLampGlyph(int lamp) const;

    bool pointRequested() const;
    bool pickInLaterStep() const;
    void deliverPoint(const QPoint &pos, bool click);

    MainWindowPresenter *presenter;
    MouseHandler mouse;
    ViewState view;
    float zoomFactor = 1.0f;
    float depth = 0.0f;
    bool axesShown = true;
    bool lampsShown = false;
    bool lightingOn = true;
    bool facesDrawn = true;
    bool outlinesDrawn = false;
    bool gridShown = false;
    bool gridSnap = false;
    double spacing = 10.0;
    std::array<double, 4> gridExtent{}; // xmin, ymin, xmax, ymax
    double gridZ = 0.0;

    std::vector<Lamp> lamps;
    int active = 1;
    uint8_t enabledLamps = 1;

    Qt::MouseButton pressedButton = Qt::NoButton;
    Qt::KeyboardModifiers pressedModifiers;
    bool mousePressed = false;
    bool clickCandidate = false;
    bool contextChecked = false;
};

} // namespace Ui

Q_DECLARE_METATYPE(std::vector<float>)
