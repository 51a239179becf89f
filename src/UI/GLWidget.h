#pragma once

#include "Core/Operations/IObjectPicker.h"
#include "Model/Rendering/ViewSettings.h"
#include "MouseHandler.h"
#include "Util/Vector3D.h"

#include <QImage>
#include <QMatrix4x4>
#include <QMetaType>
#include <QOpenGLWidget>
#include <QPointF>
#include <QVector3D>
#include <QVector4D>
#include <vector>

namespace Model {
namespace Rendering {
class SceneRenderer;
}
}

namespace Ui {

class MainWindowPresenter;

// The main window's 3D view: orthographic projection, a viewing transformation the user turns,
// zooms and shifts with the mouse, up to eight lamps, reference axes and a grid in the plane
// z = 0, and every scene object drawn once per frame. Objects are picked with OpenGL selection
// mode, and a click while an operation waits for a point becomes a point on the grid plane.
// The picture itself is drawn by the scene renderer from the view's settings. Fixed-function
// OpenGL 1.x and GLU throughout, so the context is a compatibility profile.
class GLWidget : public QOpenGLWidget, public Core::Operations::IObjectPicker {
    Q_OBJECT
public:
    static constexpr int kMaxLamps = Model::Rendering::ViewSettings::kMaxLamps;
    using ViewState = Model::Rendering::ViewState;
    using Lamp = Model::Rendering::Lamp;

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
    bool showAxes() const { return settings.showAxes; }
    bool showLamps() const { return settings.showLamps; }
    bool lighting() const { return settings.lighting; }
    bool drawFaces() const { return settings.drawFaces; }
    bool drawOutlines() const { return settings.drawOutlines; }
    bool showGrid() const { return settings.showGrid; }
    bool snapToGrid() const { return gridSnap; }
    double gridSpacing() const { return settings.gridSpacing; }

    // The view; each setter repaints and emits the matching signal.
    void setRotation(int ax, int ay, int az);
    void setScreenPosition(float u, float v);
    void setAxisTranslation(float tx, float ty, float tz);
    void setZoom(float zoom);
    QVector3D rotationAngles() const { return QVector3D(settings.view.ax, settings.view.ay, settings.view.az); }
    QPointF screenPosition() const { return QPointF(settings.view.u, settings.view.v); }
    QVector3D axisTranslation() const { return QVector3D(settings.view.tx, settings.view.ty, settings.view.tz); }
    float zoom() const { return settings.zoom; }
    const ViewState &viewState() const { return settings.view; }
    float depthRange() const;
    // Centres the cell volumes of the scene and zooms so that together they fill about two
    // thirds of the view; the view then turns about their centre. Until the user changes the
    // zoom or the position, a resized view frames them again. Without volumes nothing changes.
    void frameVolumes();
    bool isFramed() const { return framed; }
    // The orthographic projection of the current size and zoom, as the frame loads it.
    QMatrix4x4 projectionMatrix() const;

    // Lamps are numbered from 1; lamp i is OpenGL light i - 1. Angles in radians.
    void setLampCount(int count); // 1..8; new lamps start at the eye-space origin, disabled
    void setLampRadius(int lamp, float radius);
    void setLampAngles(int lamp, float theta, float phi);
    void setLampEnabled(int lamp, bool on);
    void setActiveLamp(int lamp);
    int lampCount() const { return settings.lampCount(); }
    int activeLamp() const { return settings.activeLamp; }
    Lamp lamp(int lamp) const { return settings.lamps.at(size_t(lamp - 1)); }
    bool isLampEnabled(int lamp) const { return settings.isLampEnabled(lamp); }

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
    // Picking: the scene drawn for selection with the view's current matrices.
    std::vector<uint32_t> objectIdsAt(int x, int y) override;

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
    Model::Rendering::SceneRenderer renderer() const;
    void updateLamp(int lamp);
    void loadLampsNow();
    void emitLampPosition();
    void emitRotation();
    void emitAxisPosition();
    void translateAxes(int axis, float step);

    bool pointRequested() const;
    bool pickInLaterStep() const;
    void deliverPoint(const QPoint &pos, bool click);

    MainWindowPresenter *presenter;
    MouseHandler mouse;
    Model::Rendering::ViewSettings settings;
    bool gridSnap = false;

    Qt::MouseButton pressedButton = Qt::NoButton;
    Qt::KeyboardModifiers pressedModifiers;
    bool mousePressed = false;
    bool clickCandidate = false;
    bool contextChecked = false;
    // The view was last placed by frameVolumes and the user has not moved it since.
    bool framed = false;
    // Whether the scene held a cell volume at the last model notification.
    bool sceneHadVolumes = false;
};

} // namespace Ui

Q_DECLARE_METATYPE(std::vector<float>)
