#include "GLWidget.h"

#include "Core/ApplicationModel.h"
#include "MainWindowPresenter.h"
#include "Model/ColorTable.h"

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

namespace Ui {

namespace {

constexpr float kInitialAngleX = -60.0f; // degrees
constexpr float kInitialAngleZ = 30.0f;
constexpr float kInitialLampRadius = 300.0f;
constexpr double kPi = 3.14159265358979323846;
constexpr float kAnglePi = 3.1415927f; // the π of the angles read back from the trackball
constexpr float kInitialLampTheta = float(kPi / 3.0);
constexpr float kInitialLampPhi = float(kPi / 4.0);
constexpr double kGridHalfExtent = 300.0; // view units around the origin
constexpr float kTranslateStep = 5.0f;    // view units per key press
constexpr double kWheelScale = 1200.0;    // eighths of a degree; one notch of 120 gives 1.1
constexpr float kMinimumZoom = 1e-6f;
// The viewer sits this far along the eye-space z axis when objects sort their translucent
// faces; far enough that the orthographic eye acts as a direction.
constexpr float kEyeDistance = 1.0e6f;
constexpr double kParallelTolerance = 1e-9;

constexpr float kAxisLength = 50.0f;
constexpr float kArrowBase = 45.0f;
constexpr float kArrowWidth = 5.0f;
constexpr GLfloat kAxisLineWidth = 2.0f;

constexpr int kLampGlyphSegments = 16;
constexpr float kLampGlyphDepthScale = 50.0f;
constexpr float kLampGlyphBaseSize = 20.0f;
constexpr float kLampGlyphRingGap = 2.0f;
constexpr GLint kLampPathStippleFactor = 8;
constexpr GLushort kLampPathStipplePattern = 0xAAAA;

const GLfloat kLight0Ambient[] = {0.5f, 0.5f, 0.5f, 1.0f};
const GLfloat kLightDiffuse[] = {0.5f, 0.5f, 0.5f, 1.0f};
const GLfloat kLight0Specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat kMaterialSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat kMaterialEmission[] = {0.0f, 0.0f, 0.0f, 1.0f};
const GLfloat kModelAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr GLfloat kShininess = 128.0f;

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

} // namespace

// ---- view state --------------------------------------------------------------------------

void GLWidget::ViewState::setAngles(float x, float y, float z)
{
    ax = x;
    ay = y;
    az = z;
    QMatrix4x4 m;
    m.rotate(ax, 1.0f, 0.0f, 0.0f);
    m.rotate(ay, 0.0f, 1.0f, 0.0f);
    m.rotate(az, 0.0f, 0.0f, 1.0f);
    std::copy(m.constData(), m.constData() + 16, rotation.begin());
    updateScreenOffset();
}

void GLWidget::ViewState::rotateBefore(const QMatrix4x4 &r)
{
    QMatrix4x4 current;
    std::copy(rotation.begin(), rotation.end(), current.data());
    const QMatrix4x4 turned = r * current;
    std::copy(turned.constData(), turned.constData() + 16, rotation.begin());
    const auto &M = rotation;
    const float toDegrees = 180.0f / kAnglePi;
    ax = -std::atan2(M[9], M[10]) * toDegrees;
    ay = std::atan2(M[8], std::sqrt(M[9] * M[9] + M[10] * M[10])) * toDegrees;
    az = -std::atan2(M[4], M[0]) * toDegrees;
    updateScreenOffset();
}

void GLWidget::ViewState::updateScreenOffset()
{
    const auto &M = rotation;
    screenOffset = {M[0] * u + M[1] * v, M[4] * u + M[5] * v, M[8] * u + M[9] * v};
}

QMatrix4x4 GLWidget::ViewState::modelView() const
{
    QMatrix4x4 m;
    std::copy(rotation.begin(), rotation.end(), m.data());
    m.translate(tx, ty, tz);
    m.translate(screenOffset[0], screenOffset[1], screenOffset[2]);
    return m;
}

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

    view.setAngles(kInitialAngleX, 0.0f, kInitialAngleZ);
    lamps.resize(1);
    lamps[0].radius = kInitialLampRadius;
    lamps[0].theta = kInitialLampTheta;
    lamps[0].phi = kInitialLampPhi;
    updateLamp(1);
    gridExtent = {-kGridHalfExtent, -kGridHalfExtent, kGridHalfExtent, kGridHalfExtent};

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
    axesShown = on;
    update();
}

void GLWidget::setShowLamps(bool on)
{
    lampsShown = on;
    update();
}

void GLWidget::setLighting(bool on)
{
    lightingOn = on;
    update();
}

void GLWidget::setDrawFaces(bool on)
{
    facesDrawn = on;
    update();
}

void GLWidget::setDrawOutlines(bool on)
{
    outlinesDrawn = on;
    update();
}

void GLWidget::setShowGrid(bool on)
{
    gridShown = on;
    update();
}

void GLWidget::setSnapToGrid(bool on)
{
    gridSnap = on;
}

void GLWidget::setGridSpacing(double s)
{
    if (s > 0.0)
        spacing = s;
    update();
}

// ---- view --------------------------------------------------------------------------------

void GLWidget::setRotation(int ax, int ay, int az)
{
    view.setAngles(float(ax), float(ay), float(az));
    update();
    emitRotation();
}

void GLWidget::setScreenPosition(float u, float v)
{
    view.u = u;
    view.v = v;
    view.updateScreenOffset();
    update();
    emit viewPositionChanged({view.u, view.v});
}

void GLWidget::setAxisTranslation(float tx, float ty, float tz)
{
    view.tx = tx;
    view.ty = ty;
    view.tz = tz;
    view.updateScreenOffset();
    update();
    emitAxisPosition();
}

void GLWidget::setZoom(float zoom)
{
    zoomFactor = std::max(zoom, kMinimumZoom);
    mouse.setWindow(width(), height(), zoomFactor);
    update();
    emit zoomChanged(zoomFactor * 100.0f);
}

void GLWidget::emitRotation()
{
    emit rotationChanged({view.ax, view.ay, view.az});
}

void GLWidget::emitAxisPosition()
{
    emit axisPositionChanged({view.tx, view.ty, view.tz});
}

void GLWidget::translateAxes(int axis, float step)
{
    float *t[] = {&view.tx, &view.ty, &view.tz};
    *t[axis] += step;
    view.updateScreenOffset();
    update();
    emitAxisPosition();
}

void GLWidget::increaseTranslateX() { translateAxes(0, kTranslateStep); }
void GLWidget::increaseTranslateY() { translateAxes(1, kTranslateStep); }
void GLWidget::increaseTranslateZ() { translateAxes(2, kTranslateStep); }
void GLWidget::decreaseTranslateX() { translateAxes(0, -kTranslateStep); }
void GLWidget::decreaseTranslateY() { translateAxes(1, -kTranslateStep); }
void GLWidget::decreaseTranslateZ() { translateAxes(2, -kTranslateStep); }

void GLWidget::updateGL()
{
    update();
}

QMatrix4x4 GLWidget::projectionMatrix() const
{
    const float w = float(std::max(width(), 1));
    const float h = float(std::max(height(), 1));
    const float d = depth > 0.0f ? depth : std::floor(std::sqrt(2.0f) * std::max(w, h));
    const float z = 2.0f * zoomFactor;
    QMatrix4x4 p;
    p.ortho(-w / z, w / z, -h / z, h / z, -d / z, d / z);
    return p;
}

void GLWidget::loadMatrices()
{
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, GLsizei(width() * ratio), GLsizei(height() * ratio));
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projectionMatrix().constData());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view.modelView().constData());
}

Util::Vector3D GLWidget::eyePosition() const
{
    const QVector4D eye = view.modelView().inverted() * QVector4D(0.0f, 0.0f, kEyeDistance, 1.0f);
    return Util::Vector3D(eye.x(), eye.y(), eye.z());
}

// ---- lamps -------------------------------------------------------------------------------

void GLWidget::setLampCount(int count)
{
    count = std::clamp(count, 1, kMaxLamps);
    const int previous = lampCount();
    lamps.resize(size_t(count));
    for (int i = previous; i < count; ++i)
        enabledLamps &= uint8_t(~(1u << i));
    active = std::min(active, count);
    if (isValid()) {
        makeCurrent();
        applyLamps();
    }
    update();
}

void GLWidget::updateLamp(int number)
{
    Lamp &l = lamps.at(size_t(number - 1));
    l.position = {std::cos(l.theta) * std::cos(l.phi) * l.radius, std::sin(l.theta) * std::cos(l.phi) * l.radius,
                  std::sin(l.phi) * l.radius, 1.0f};
    if (isValid()) {
        makeCurrent();
        applyLamps();
    }
    update();
}

void GLWidget::setLampRadius(int number, float radius)
{
    if (number < 1 || number > lampCount())
        return;
    lamps[size_t(number - 1)].radius = radius;
    updateLamp(number);
}

void GLWidget::setLampAngles(int number, float theta, float phi)
{
    if (number < 1 || number > lampCount())
        return;
    lamps[size_t(number - 1)].theta = theta;
    lamps[size_t(number - 1)].phi = phi;
    updateLamp(number);
}

void GLWidget::setLampEnabled(int number, bool on)
{
    if (number < 1 || number > lampCount())
        return;
    const uint8_t bit = uint8_t(1u << (number - 1));
    enabledLamps = on ? uint8_t(enabledLamps | bit) : uint8_t(enabledLamps & ~bit);
    if (isValid()) {
        makeCurrent();
        applyLamps();
    }
    update();
}

void GLWidget::setActiveLamp(int number)
{
    if (number < 1 || number > lampCount())
        return;
    active = number;
    update();
    emitLampPosition();
}

void GLWidget::swithActiveLamp()
{
    setActiveLamp(active % lampCount() + 1);
}

void GLWidget::emitLampPosition()
{
    emit lampPositionChanged(lampRecord(active, lamps[size_t(active - 1)]));
}

void GLWidget::setupLights()
{
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLight0Ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLight0Specular);
    for (int i = 1; i < kMaxLamps; ++i)
        glLightfv(GLenum(GL_LIGHT0 + i), GL_DIFFUSE, kLightDiffuse);
}

void GLWidget::applyLamps()
{
    // Loaded with an identity model-view, the lamps stay put relative to the viewer.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (int i = 0; i < kMaxLamps; ++i) {
        const GLenum light = GLenum(GL_LIGHT0 + i);
        if (i < lampCount()) {
            glLightfv(light, GL_POSITION, lamps[size_t(i)].position.data());
            if (isLampEnabled(i + 1))
                glEnable(light);
            else
                glDisable(light);
        } else {
            glDisable(light);
        }
    }
    glPopMatrix();
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
    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    setupLights();
    applyLamps();
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kMaterialSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, kMaterialEmission);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMaterialf(GL_FRONT, GL_SHININESS, kShininess);
    glEnable(GL_COLOR_MATERIAL);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kModelAmbient);
}

// The size-dependent state does not need GL, so it follows every resize, with or without a
// context; resizeGL only loads the viewport and matrices.
void GLWidget::resizeEvent(QResizeEvent *event)
{
    const int w = event->size().width();
    const int h = event->size().height();
    depth = std::floor(std::sqrt(2.0f) * float(std::max(w, h)));
    gridExtent = {-kGridHalfExtent, -kGridHalfExtent, kGridHalfExtent, kGridHalfExtent};
    mouse.setWindow(w, h, zoomFactor);
    QOpenGLWidget::resizeEvent(event);
}

void GLWidget::resizeGL(int, int)
{
    loadMatrices();
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
    const Util::Vector4D background = Model::ColorTable::instance().color(Model::ColorTable::BackgroundColor);
    glClearColor(GLclampf(background.x), GLclampf(background.y), GLclampf(background.z), 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (lightingOn)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    loadMatrices();
    applyLamps();

    if (gridShown)
        drawGrid();
    if (presenter)
        presenter->scene().paintAll(facesDrawn, outlinesDrawn, eyePosition());
    if (axesShown)
        drawAxes();
    if (lampsShown) {
        for (int i = 1; i <= lampCount(); ++i)
            if (isLampEnabled(i))
                drawLampGlyph(i);
    }
    if (!pointRequested())
        mouse.clearPointMarker();
    mouse.paintOverlay();
}

// ---- drawing -----------------------------------------------------------------------------

void GLWidget::drawGrid() const
{
    const double s = spacing;
    const double xmin = gridExtent[0], ymin = gridExtent[1], xmax = gridExtent[2], ymax = gridExtent[3];
    const double x0 = std::floor(xmin / s) * s, x1 = std::ceil(xmax / s) * s;
    const double y0 = std::floor(ymin / s) * s, y1 = std::ceil(ymax / s) * s;
    const int n = int(std::ceil((xmax - xmin) / s));
    const int m = int(std::ceil((ymax - ymin) / s));
    const Util::Vector4D color = Model::ColorTable::instance().color(Model::ColorTable::GridColor);

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glColor4d(color.x, color.y, color.z, color.w);
    glBegin(GL_LINES);
    for (int i = 0; i <= n; ++i) {
        glVertex3d(x0 + i * s, y0, gridZ);
        glVertex3d(x0 + i * s, y1, gridZ);
    }
    for (int j = 0; j <= m; ++j) {
        glVertex3d(x0, y0 + j * s, gridZ);
        glVertex3d(x1, y0 + j * s, gridZ);
    }
    glEnd();
    glPopAttrib();
}

void GLWidget::drawAxes() const
{
    // The axes do not follow the axis translation: it is the objects' position relative to them.
    glPushMatrix();
    glTranslatef(-view.tx, -view.ty, -view.tz);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glLineWidth(kAxisLineWidth);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(kAxisLength, 0.0f, 0.0f);
    glVertex3f(kAxisLength, 0.0f, 0.0f);
    glVertex3f(kArrowBase, 0.0f, kArrowWidth);
    glVertex3f(kAxisLength, 0.0f, 0.0f);
    glVertex3f(kArrowBase, 0.0f, -kArrowWidth);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, kAxisLength, 0.0f);
    glVertex3f(0.0f, kAxisLength, 0.0f);
    glVertex3f(0.0f, kArrowBase, kArrowWidth);
    glVertex3f(0.0f, kAxisLength, 0.0f);
    glVertex3f(0.0f, kArrowBase, -kArrowWidth);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, kAxisLength);
    glVertex3f(0.0f, 0.0f, kAxisLength);
    glVertex3f(0.0f, kArrowWidth, kArrowBase);
    glVertex3f(0.0f, 0.0f, kAxisLength);
    glVertex3f(0.0f, -kArrowWidth, kArrowBase);
    glEnd();
    glPopAttrib();
    glPopMatrix();
}

void GLWidget::drawLampGlyph(int number) const
{
    const Lamp &l = lamps[size_t(number - 1)];
    const float x = l.position[0];
    const float y = l.position[1];
    const float z = std::min(l.position[2], depth);
    const float r = z / kLampGlyphDepthScale + kLampGlyphBaseSize;

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Drawn in the screen plane over everything else, so that a lamp is found wherever it is.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    if (number == active)
        glColor3f(1.0f, 1.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 1.0f);
    const double step = 2.0 * kPi / kLampGlyphSegments;
    const double ring = r / 2 - kLampGlyphRingGap;
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < kLampGlyphSegments; ++i)
        glVertex2d(x + ring * std::cos(i * step), y + ring * std::sin(i * step));
    glEnd();
    glBegin(GL_LINES);
    for (int i = 0; i < kLampGlyphSegments; ++i) {
        glVertex2d(x + r / 2 * std::cos(i * step), y + r / 2 * std::sin(i * step));
        glVertex2d(x + r * std::cos(i * step), y + r * std::sin(i * step));
    }
    glEnd();
    if (std::abs(x) > r || std::abs(y) > r) {
        const float distance = std::hypot(x, y);
        const float end = (distance - r) / distance;
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(kLampPathStippleFactor, kLampPathStipplePattern);
        glBegin(GL_LINES);
        glVertex2f(0.0f, 0.0f);
        glVertex2f(x * end, y * end);
        glEnd();
    }
    glPopAttrib();
    glPopMatrix();
}

// ---- points and picking ------------------------------------------------------------------

Util::Vector3D GLWidget::worldPointAt(const QPoint &pos) const
{
    GLdouble modelView[16];
    GLdouble proj[16];
    toDoubles(view.modelView(), modelView);
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
        point = Util::Vector3D(snapped(point.x, spacing), snapped(point.y, spacing), snapped(point.z, spacing));
    return point;
}

bool GLWidget::pickAt(const QPoint &pos)
{
    if (!presenter || !isValid())
        return false;
    makeCurrent();
    loadMatrices();
    const qreal ratio = devicePixelRatioF();
    return presenter->selectionMode().pickAt(int(pos.x() * ratio), int(pos.y() * ratio));
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
        view.rotateBefore(r);
        update();
        emitRotation();
    } else if (pressedButton == Qt::RightButton && !shift) {
        const QPointF delta = mouse.translationTo(event->pos());
        setScreenPosition(view.u + float(delta.x()), view.v + float(delta.y()));
    } else if (pressedButton == Qt::RightButton && shift) {
        const QPointF delta = mouse.translationTo(event->pos());
        const auto &M = view.rotation;
        const float dx = float(delta.x()), dy = float(delta.y());
        setAxisTranslation(view.tx + M[0] * dx + M[1] * dy, view.ty + M[4] * dx + M[5] * dy,
                           view.tz + M[8] * dx + M[9] * dy);
    } else if (pressedButton == Qt::LeftButton && shift) {
        double theta = 0.0, phi = 0.0;
        mouse.lampAnglesAt(event->pos(), &theta, &phi);
        setLampAngles(active, float(theta), float(phi));
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
        setZoom(float(zoomFactor * factor));
        return;
    }
    Lamp &l = lamps[size_t(active - 1)];
    l.radius = l.radius >= 1.0f ? float(l.radius * factor) : 0.0f;
    updateLamp(active);
    emitLampPosition();
}

QImage GLWidget::renderedImage()
{
    if (!isValid())
        return QImage();
    const QImage frame = grabFramebuffer();
    if (frame.isNull())
        return frame;
    // The frame keeps the background's alpha of 0; the picture is in the colour channels.
    QImage opaque = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied).copy();
    for (int y = 0; y < opaque.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            line[x] |= 0xff000000u;
    }
    return opaque.convertToFormat(QImage::Format_RGB32);
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
