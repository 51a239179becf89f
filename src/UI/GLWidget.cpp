#include "GLWidget.h"

#include "Core/ApplicationModel.h"
#include "MainWindowPresenter.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Rendering/SceneRenderer.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QDebug>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QResizeEvent>
#include <QShortcut>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Ui {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kTranslateStep = 5.0f;    // view units per key press
constexpr double kWheelScale = 1200.0;    // eighths of a degree; one notch of 120 gives 1.1
constexpr float kMinimumZoom = 1e-6f;
constexpr double kParallelTolerance = 1e-9;
// Share of the view's width or height (whichever is tighter) that framed volumes fill.
constexpr float kFramedFraction = 2.0f / 3.0f;
// Share of the projection's depth range that framed volumes may use before they are clipped.
constexpr float kFramedDepthFraction = 0.9f;

// Tells whether the GLX context renders directly; true when the platform cannot say.
bool isDirectRendering(QOpenGLContext *context);

std::vector<float> lampRecord(int number, const GLWidget::Lamp &lamp)
{
    const float toDegrees = float(180.0 / kPi);
    return {float(number), lamp.radius, lamp.theta * toDegrees, lamp.phi * toDegrees};
}

double snapped(double value, double spacing)
{
    return std::round(value / spacing) * spacing;
}

void toDoubles(const QMatrix4x4 &m, GLdouble out[16])
{
    const float *data = m.constData();
    for (int i = 0; i < 16; ++i)
        out[i] = data[i];
}

// The box around every cell volume of the scene, in world coordinates; false without volumes.
bool volumeBounds(Model::Scene &scene, QVector3D *low, QVector3D *high)
{
    bool any = false;
    for (const auto &object : scene.objects()) {
        const auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (!volume)
            continue;
        const Util::Vector3D o = volume->origin();
        const QVector3D a(float(o.x), float(o.y), float(o.z));
        const QVector3D b = a + QVector3D(volume->sizeX() * volume->cellSizeX(), volume->sizeY() * volume->cellSizeY(),
                                          volume->sizeZ() * volume->cellSizeZ());
        *low = any ? QVector3D(std::min(low->x(), a.x()), std::min(low->y(), a.y()), std::min(low->z(), a.z())) : a;
        *high = any ? QVector3D(std::max(high->x(), b.x()), std::max(high->y(), b.y()), std::max(high->z(), b.z())) : b;
        any = true;
    }
    return any;
}

bool hasVolumes(Model::Scene &scene)
{
    QVector3D low, high;
    return volumeBounds(scene, &low, &high);
}

} // namespace

// ---- construction ------------------------------------------------------------------------

GLWidget::GLWidget(QWidget *parent, MainWindowPresenter *presenter) : QOpenGLWidget(parent), presenter(presenter)
{
    qRegisterMetaType<std::vector<float>>("std::vector<float>");

    QSurfaceFormat requested = QSurfaceFormat::defaultFormat();
    requested.setRenderableType(QSurfaceFormat::OpenGL);
    requested.setProfile(QSurfaceFormat::CompatibilityProfile);
    requested.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    requested.setRedBufferSize(8);
    requested.setGreenBufferSize(8);
    requested.setBlueBufferSize(8);
    requested.setAlphaBufferSize(8);
    requested.setDepthBufferSize(24);
    requested.setStencilBufferSize(0);
    requested.setStereo(false);
    requested.setSamples(0);
    setFormat(requested);
    setMouseTracking(true);

    createShortcuts(parent ? parent->window() : this);
}

GLWidget::~GLWidget() = default;

void GLWidget::createShortcuts(QWidget *window)
{
    const struct {
        Qt::Key key;
        void (GLWidget::*slot)();
    } keys[] = {
        {Qt::Key_Q, &GLWidget::increaseTranslateX}, {Qt::Key_W, &GLWidget::increaseTranslateY},
        {Qt::Key_E, &GLWidget::increaseTranslateZ}, {Qt::Key_A, &GLWidget::decreaseTranslateX},
        {Qt::Key_S, &GLWidget::decreaseTranslateY}, {Qt::Key_D, &GLWidget::decreaseTranslateZ},
        {Qt::Key_L, &GLWidget::swithActiveLamp},
    };
    for (const auto &k : keys) {
        auto *shortcut = new QShortcut(QKeySequence(k.key), window);
        connect(shortcut, &QShortcut::activated, this, k.slot);
    }
}

// ---- switches ----------------------------------------------------------------------------

void GLWidget::setShowAxes(bool on)
{
    settings.showAxes = on;
    update();
}

void GLWidget::setShowLamps(bool on)
{
    settings.showLamps = on;
    update();
}

void GLWidget::setLighting(bool on)
{
    settings.lighting = on;
    update();
}

void GLWidget::setDrawFaces(bool on)
{
    settings.drawFaces = on;
    update();
}

void GLWidget::setDrawOutlines(bool on)
{
    settings.drawOutlines = on;
    update();
}

void GLWidget::setShowGrid(bool on)
{
    settings.showGrid = on;
    update();
}

void GLWidget::setSnapToGrid(bool on)
{
    gridSnap = on;
}

void GLWidget::setGridSpacing(double s)
{
    if (s > 0.0)
        settings.gridSpacing = s;
    update();
}

// ---- view --------------------------------------------------------------------------------

void GLWidget::setRotation(int ax, int ay, int az)
{
    settings.view.setAngles(float(ax), float(ay), float(az));
    update();
    emitRotation();
}

void GLWidget::setScreenPosition(float u, float v)
{
    framed = false;
    settings.view.u = u;
    settings.view.v = v;
    settings.view.updateScreenOffset();
    update();
    emit viewPositionChanged({settings.view.u, settings.view.v});
}

void GLWidget::setAxisTranslation(float tx, float ty, float tz)
{
    framed = false;
    settings.view.tx = tx;
    settings.view.ty = ty;
    settings.view.tz = tz;
    settings.view.updateScreenOffset();
    update();
    emitAxisPosition();
}

void GLWidget::setZoom(float zoom)
{
    framed = false;
    settings.zoom = std::max(zoom, kMinimumZoom);
    mouse.setWindow(width(), height(), settings.zoom);
    update();
    emit zoomChanged(settings.zoom * 100.0f);
}

void GLWidget::emitRotation()
{
    emit rotationChanged({settings.view.ax, settings.view.ay, settings.view.az});
}

void GLWidget::emitAxisPosition()
{
    emit axisPositionChanged({settings.view.tx, settings.view.ty, settings.view.tz});
}

void GLWidget::translateAxes(int axis, float step)
{
    framed = false;
    float *t[] = {&settings.view.tx, &settings.view.ty, &settings.view.tz};
    *t[axis] += step;
    settings.view.updateScreenOffset();
    update();
    emitAxisPosition();
}

void GLWidget::increaseTranslateX() { translateAxes(0, kTranslateStep); }
void GLWidget::increaseTranslateY() { translateAxes(1, kTranslateStep); }
void GLWidget::increaseTranslateZ() { translateAxes(2, kTranslateStep); }
void GLWidget::decreaseTranslateX() { translateAxes(0, -kTranslateStep); }
void GLWidget::decreaseTranslateY() { translateAxes(1, -kTranslateStep); }
void GLWidget::decreaseTranslateZ() { translateAxes(2, -kTranslateStep); }

// Every change of the model arrives here. The first volume of an empty scene (a new substrate,
// an opened document) is framed.
void GLWidget::updateGL()
{
    const bool volumes = presenter && hasVolumes(presenter->scene());
    if (volumes && !sceneHadVolumes)
        frameVolumes();
    sceneHadVolumes = volumes;
    update();
}

void GLWidget::frameVolumes()
{
    QVector3D low, high;
    if (!presenter || !volumeBounds(presenter->scene(), &low, &high))
        return;
    const QVector3D centre = (low + high) / 2.0f;
    // Half the box's extent on the screen and in depth, through the rotation alone.
    QMatrix4x4 rotation;
    std::copy(settings.view.rotation.begin(), settings.view.rotation.end(), rotation.data());
    QVector3D extent;
    for (int corner = 0; corner < 8; ++corner) {
        const QVector3D p((corner & 1) ? high.x() : low.x(), (corner & 2) ? high.y() : low.y(),
                          (corner & 4) ? high.z() : low.z());
        const QVector3D eye = rotation.mapVector(p - centre);
        extent = QVector3D(std::max(extent.x(), std::abs(eye.x())), std::max(extent.y(), std::abs(eye.y())),
                           std::max(extent.z(), std::abs(eye.z())));
    }
    // The projection shows width / zoom units across and depthRange / zoom in depth.
    const float w = float(std::max(width(), 1));
    const float h = float(std::max(height(), 1));
    float zoom = std::numeric_limits<float>::max();
    if (extent.x() > 0.0f)
        zoom = std::min(zoom, kFramedFraction * w / (2.0f * extent.x()));
    if (extent.y() > 0.0f)
        zoom = std::min(zoom, kFramedFraction * h / (2.0f * extent.y()));
    if (extent.z() > 0.0f)
        zoom = std::min(zoom, kFramedDepthFraction * depthRange() / (2.0f * extent.z()));
    if (zoom == std::numeric_limits<float>::max())
        zoom = 1.0f;

    settings.zoom = std::max(zoom, kMinimumZoom);
    settings.view.u = 0.0f;
    settings.view.v = 0.0f;
    settings.view.tx = -centre.x();
    settings.view.ty = -centre.y();
    settings.view.tz = -centre.z();
    settings.view.updateScreenOffset();
    mouse.setWindow(width(), height(), settings.zoom);
    framed = true;
    update();
}

Model::Rendering::SceneRenderer GLWidget::renderer() const
{
    return Model::Rendering::SceneRenderer(settings, size(), devicePixelRatioF());
}

QMatrix4x4 GLWidget::projectionMatrix() const
{
    return renderer().projectionMatrix();
}

float GLWidget::depthRange() const
{
    return renderer().depthRange();
}

// ---- lamps -------------------------------------------------------------------------------

void GLWidget::setLampCount(int count)
{
    count = std::clamp(count, 1, kMaxLamps);
    const int previous = lampCount();
    settings.lamps.resize(size_t(count));
    for (int i = previous; i < count; ++i)
        settings.enabledLamps &= uint8_t(~(1u << i));
    settings.activeLamp = std::min(settings.activeLamp, count);
    loadLampsNow();
    update();
}

void GLWidget::updateLamp(int number)
{
    settings.lamps.at(size_t(number - 1)).place();
    loadLampsNow();
    update();
}

// Every frame loads the lamps; loading them at once too keeps the context's lights in step
// with the settings between frames.
void GLWidget::loadLampsNow()
{
    if (!isValid())
        return;
    makeCurrent();
    renderer().loadLamps();
}

void GLWidget::setLampRadius(int number, float radius)
{
    if (number < 1 || number > lampCount())
        return;
    settings.lamps[size_t(number - 1)].radius = radius;
    updateLamp(number);
}

void GLWidget::setLampAngles(int number, float theta, float phi)
{
    if (number < 1 || number > lampCount())
        return;
    settings.lamps[size_t(number - 1)].theta = theta;
    settings.lamps[size_t(number - 1)].phi = phi;
    updateLamp(number);
}

void GLWidget::setLampEnabled(int number, bool on)
{
    if (number < 1 || number > lampCount())
        return;
    const uint8_t bit = uint8_t(1u << (number - 1));
    settings.enabledLamps = on ? uint8_t(settings.enabledLamps | bit) : uint8_t(settings.enabledLamps & ~bit);
    loadLampsNow();
    update();
}

void GLWidget::setActiveLamp(int number)
{
    if (number < 1 || number > lampCount())
        return;
    settings.activeLamp = number;
    update();
    emitLampPosition();
}

void GLWidget::swithActiveLamp()
{
    setActiveLamp(settings.activeLamp % lampCount() + 1);
}

void GLWidget::emitLampPosition()
{
    emit lampPositionChanged(lampRecord(settings.activeLamp, settings.lamps[size_t(settings.activeLamp - 1)]));
}

// ---- GL lifecycle ------------------------------------------------------------------------

void GLWidget::warnAboutMissingFeatures()
{
    const QSurfaceFormat obtained = context()->format();
    if (obtained.swapBehavior() != QSurfaceFormat::DoubleBuffer)
        qWarning("Could not get double buffer; results will be suboptimal");
    if (obtained.alphaBufferSize() <= 0)
        qWarning("Could not get alpha channel; results will be suboptimal");
    if (obtained.depthBufferSize() <= 0)
        qWarning("Could not get depth buffer; results will be suboptimal");
    if (obtained.redBufferSize() <= 0 || obtained.greenBufferSize() <= 0 || obtained.blueBufferSize() <= 0)
        qWarning("Could not get rgba mode; results will be suboptimal");
    if (!isDirectRendering(context()))
        qWarning("Could not get direct rendering; results will be suboptimal");
}

void GLWidget::initializeGL()
{
    warnAboutMissingFeatures();
    renderer().initializeContext();
}

// The mouse handler needs the size without GL, so it follows every resize, with or without a
// context; resizeGL only loads the viewport and matrices.
void GLWidget::resizeEvent(QResizeEvent *event)
{
    mouse.setWindow(event->size().width(), event->size().height(), settings.zoom);
    QOpenGLWidget::resizeEvent(event);
    if (framed)
        frameVolumes();
}

void GLWidget::resizeGL(int, int)
{
    renderer().loadMatrices();
}

void GLWidget::showEvent(QShowEvent *event)
{
    QOpenGLWidget::showEvent(event);
    if (!contextChecked && !isValid() && !size().isEmpty() && window()->windowHandle()) {
        contextChecked = true;
        qWarning() << __FILE__ << Q_FUNC_INFO
                   << "no OpenGL context on this platform; the 3D view stays empty and cannot pick";
    }
}

void GLWidget::paintGL()
{
    renderer().paint(presenter ? &presenter->scene() : nullptr);
    if (!pointRequested())
        mouse.clearPointMarker();
    mouse.paintOverlay();
}

// ---- points and picking ------------------------------------------------------------------

Util::Vector3D GLWidget::worldPointAt(const QPoint &pos) const
{
    GLdouble modelView[16];
    GLdouble proj[16];
    toDoubles(settings.view.modelView(), modelView);
    toDoubles(projectionMatrix(), proj);
    const GLint viewport[4] = {0, 0, std::max(width(), 1), std::max(height(), 1)};
    const GLdouble winX = pos.x();
    const GLdouble winY = viewport[3] - pos.y();

    GLdouble nx, ny, nz, fx, fy, fz;
    gluUnProject(winX, winY, 0.0, modelView, proj, viewport, &nx, &ny, &nz);
    gluUnProject(winX, winY, 1.0, modelView, proj, viewport, &fx, &fy, &fz);
    Util::Vector3D point;
    if (std::abs(fz - nz) > kParallelTolerance) {
        const double t = -nz / (fz - nz);
        point = Util::Vector3D(nx + t * (fx - nx), ny + t * (fy - ny), 0.0);
    } else {
        // The plane is seen edge-on: take the point under the pointer at the origin's depth.
        GLdouble ox, oy, oz, px, py, pz;
        gluProject(0.0, 0.0, 0.0, modelView, proj, viewport, &ox, &oy, &oz);
        gluUnProject(winX, winY, oz, modelView, proj, viewport, &px, &py, &pz);
        point = Util::Vector3D(px, py, pz);
    }
    if (gridSnap)
        point = Util::Vector3D(snapped(point.x, settings.gridSpacing), snapped(point.y, settings.gridSpacing),
                               snapped(point.z, settings.gridSpacing));
    return point;
}

std::vector<uint32_t> GLWidget::objectIdsAt(int x, int y)
{
    if (!presenter)
        return {};
    return Model::Rendering::SceneRenderer::pickObjectIds(presenter->scene(), x, y);
}

bool GLWidget::pickAt(const QPoint &pos)
{
    if (!presenter || !isValid())
        return false;
    makeCurrent();
    renderer().loadMatrices();
    const qreal ratio = devicePixelRatioF();
    return presenter->selectionMode().pickAt(*this, int(pos.x() * ratio), int(pos.y() * ratio));
}

bool GLWidget::pointRequested() const
{
    if (!presenter)
        return false;
    const auto &request = presenter->applicationModel().inputRequest();
    return request.requester() && request.mode() == Core::Operations::InputRequest::PointMode;
}

bool GLWidget::pickInLaterStep() const
{
    const auto &request = presenter->applicationModel().inputRequest();
    return pointRequested() && request.pickRequester() == request.requester();
}

// Clicks and pointer motion while an operation waits for a point. The first click gives the
// operation its base point; the view then marks that operation as the pick requester, so that
// pointer motion feeds it intermediate points and the next click ends the pick (pick state 0).
// The operation's reset of its request (finish, cancel) clears the mark.
void GLWidget::deliverPoint(const QPoint &pos, bool click)
{
    auto &request = presenter->applicationModel().inputRequest();
    const Util::Vector3D point = worldPointAt(pos);
    mouse.setPointMarker(point);
    update();
    if (!click) {
        if (pickInLaterStep())
            request.deliverPick(point, false);
        return;
    }
    if (pickInLaterStep()) {
        request.deliverPick(point, true);
        return;
    }
    Core::Operations::Operation *requester = request.requester();
    request.deliverPick(point, false);
    if (requester && request.requester() == requester && request.mode() == Core::Operations::InputRequest::PointMode)
        request.setPickRequester(requester);
}

// ---- mouse -------------------------------------------------------------------------------

void GLWidget::mousePressEvent(QMouseEvent *event)
{
    mousePressed = true;
    pressedButton = event->button();
    mouse.press(event->pos());
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool selecting = presenter && presenter->selectionMode().isSelectionMode();
    clickCandidate = pressedButton == Qt::LeftButton && !shift && (selecting || pointRequested());
}

void GLWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!mousePressed) {
        if (pointRequested())
            deliverPoint(event->pos(), false);
        return;
    }
    clickCandidate = false;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (pressedButton == Qt::LeftButton && !shift) {
        MouseHandler::Rotation turn;
        if (!mouse.rotationTo(event->pos(), &turn))
            return;
        QMatrix4x4 r;
        r.rotate(turn.angle, turn.axis);
        settings.view.rotateBefore(r);
        framed = false;
        update();
        emitRotation();
    } else if (pressedButton == Qt::RightButton && !shift) {
        const QPointF delta = mouse.translationTo(event->pos());
        setScreenPosition(settings.view.u + float(delta.x()), settings.view.v + float(delta.y()));
    } else if (pressedButton == Qt::RightButton && shift) {
        const QPointF delta = mouse.translationTo(event->pos());
        const auto &M = settings.view.rotation;
        const float dx = float(delta.x()), dy = float(delta.y());
        setAxisTranslation(settings.view.tx + M[0] * dx + M[1] * dy, settings.view.ty + M[4] * dx + M[5] * dy,
                           settings.view.tz + M[8] * dx + M[9] * dy);
    } else if (pressedButton == Qt::LeftButton && shift) {
        double theta = 0.0, phi = 0.0;
        mouse.lampAnglesAt(event->pos(), &theta, &phi);
        setLampAngles(settings.activeLamp, float(theta), float(phi));
        emitLampPosition();
    }
}

void GLWidget::mouseReleaseEvent(QMouseEvent *event)
{
    mousePressed = false;
    pressedButton = Qt::NoButton;
    if (!clickCandidate || event->button() != Qt::LeftButton)
        return;
    clickCandidate = false;
    if (pointRequested())
        deliverPoint(event->pos(), true);
    else if (pickAt(event->pos()))
        update();
}

void GLWidget::wheelEvent(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    const double d = angle.y() != 0 ? angle.y() : angle.x();
    if (d == 0.0)
        return;
    const double factor = d >= 1.0 ? 1.0 + d / kWheelScale : 1.0 / (1.0 - d / kWheelScale);
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        setZoom(float(settings.zoom * factor));
        return;
    }
    Lamp &l = settings.lamps[size_t(settings.activeLamp - 1)];
    l.radius = l.radius >= 1.0f ? float(l.radius * factor) : 0.0f;
    updateLamp(settings.activeLamp);
    emitLampPosition();
}

QImage GLWidget::renderedImage()
{
    if (!isValid())
        return QImage();
    return Model::Rendering::SceneRenderer::opaqueImage(grabFramebuffer());
}

} // namespace Ui

// The GLX headers define X11 macros (None, Bool, Status, ...) that clash with Qt names, so they
// come after everything else.
#include <QtPlatformHeaders/QGLXNativeContext>

namespace Ui {
namespace {

bool isDirectRendering(QOpenGLContext *context)
{
    const QVariant handle = context->nativeHandle();
    if (!handle.canConvert<QGLXNativeContext>())
        return true;
    const QGLXNativeContext native = handle.value<QGLXNativeContext>();
    if (!native.context() || !native.display())
        return true;
    return glXIsDirect(native.display(), native.context());
}

} // namespace
} // namespace Ui
