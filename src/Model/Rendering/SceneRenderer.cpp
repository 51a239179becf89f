#include "SceneRenderer.h"

#include "Model/ColorTable.h"
#include "Model/Scene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QVector4D>
#include <algorithm>
#include <cmath>

namespace Model {
namespace Rendering {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The viewer sits this far along the eye-space z axis when objects sort their translucent
// faces; far enough that the orthographic eye acts as a direction.
constexpr float kEyeDistance = 1.0e6f;

constexpr double kGridHalfExtent = 300.0; // view units around the origin
constexpr double kGridZ = 0.0;

constexpr float kAxisLength = 50.0f; // view units
constexpr float kArrowBase = 45.0f;
constexpr float kArrowWidth = 5.0f;
constexpr GLfloat kAxisLineWidth = 2.0f; // pixels

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

} // namespace

SceneRenderer::SceneRenderer(const ViewSettings &settings, QSize size, qreal pixelRatio)
    : settings(settings), size(std::max(size.width(), 1), std::max(size.height(), 1)), pixelRatio(pixelRatio)
{
}

float SceneRenderer::depthRange() const
{
    return std::floor(std::sqrt(2.0f) * float(std::max(size.width(), size.height())));
}

QMatrix4x4 SceneRenderer::projectionMatrix() const
{
    const float w = float(size.width());
    const float h = float(size.height());
    const float d = depthRange();
    const float z = 2.0f * settings.zoom;
    QMatrix4x4 p;
    p.ortho(-w / z, w / z, -h / z, h / z, -d / z, d / z);
    return p;
}

Util::Vector3D SceneRenderer::eyePosition() const
{
    const QVector4D eye = settings.view.modelView().inverted() * QVector4D(0.0f, 0.0f, kEyeDistance, 1.0f);
    return Util::Vector3D(eye.x(), eye.y(), eye.z());
}

void SceneRenderer::initializeContext() const
{
    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLight0Ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLight0Specular);
    for (int i = 1; i < ViewSettings::kMaxLamps; ++i)
        glLightfv(GLenum(GL_LIGHT0 + i), GL_DIFFUSE, kLightDiffuse);
    loadLamps();
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kMaterialSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, kMaterialEmission);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMaterialf(GL_FRONT, GL_SHININESS, kShininess);
    glEnable(GL_COLOR_MATERIAL);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kModelAmbient);
}

void SceneRenderer::loadMatrices() const
{
    glViewport(0, 0, GLsizei(size.width() * pixelRatio), GLsizei(size.height() * pixelRatio));
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projectionMatrix().constData());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(settings.view.modelView().constData());
}

void SceneRenderer::loadLamps() const
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (int i = 0; i < ViewSettings::kMaxLamps; ++i) {
        const GLenum light = GLenum(GL_LIGHT0 + i);
        if (i < settings.lampCount()) {
            glLightfv(light, GL_POSITION, settings.lamps[size_t(i)].position.data());
            if (settings.isLampEnabled(i + 1))
                glEnable(light);
            else
                glDisable(light);
        } else {
            glDisable(light);
        }
    }
    glPopMatrix();
}

namespace {
// Layout of one hit record in an OpenGL selection buffer.
constexpr int kHitNameCountWord = 0;
constexpr int kHitFirstNameWord = 3;

constexpr GLsizei kSelectionBufferSize = 2048; // words
constexpr GLdouble kPickRegionSize = 4.0;      // pixels, width and height
} // namespace

std::vector<uint32_t> SceneRenderer::pickObjectIds(Scene &scene, int x, int y)
{
    GLuint hitsBuffer[kSelectionBufferSize] = {};
    GLint viewport[4];
    GLdouble projection[16];
    GLdouble modelView[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);

    glSelectBuffer(kSelectionBufferSize, hitsBuffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(GLdouble(x), GLdouble(viewport[1] + viewport[3] - y), kPickRegionSize, kPickRegionSize, viewport);
    glMultMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
    scene.paintAllForPicking();
    const GLint hits = glRenderMode(GL_RENDER);

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
    // A pick proxy that forgets to pop its matrix must not shift the next frame.
    glLoadMatrixd(modelView);

    std::vector<uint32_t> ids;
    if (hits > 0) {
        const GLuint names = std::min<GLuint>(hitsBuffer[kHitNameCountWord], kSelectionBufferSize - kHitFirstNameWord);
        ids.assign(hitsBuffer + kHitFirstNameWord, hitsBuffer + kHitFirstNameWord + names);
    }
    return ids;
}

void SceneRenderer::paint(Scene *scene) const
{
    const Util::Vector4D background = ColorTable::instance().color(ColorTable::BackgroundColor);
    glClearColor(GLclampf(background.x), GLclampf(background.y), GLclampf(background.z), 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (settings.lighting)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    loadMatrices();
    loadLamps();

    if (settings.showGrid)
        drawGrid();
    if (scene)
        scene->paintAll(settings.drawFaces, settings.drawOutlines, eyePosition());
    if (settings.showAxes)
        drawAxes();
    if (settings.showLamps) {
        for (int i = 1; i <= settings.lampCount(); ++i)
            if (settings.isLampEnabled(i))
                drawLampGlyph(i);
    }
}

QImage SceneRenderer::opaqueImage(const QImage &frame)
{
    if (frame.isNull())
        return frame;
    QImage opaque = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied).copy();
    for (int y = 0; y < opaque.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            line[x] |= 0xff000000u;
    }
    return opaque.convertToFormat(QImage::Format_RGB32);
}

void SceneRenderer::drawGrid() const
{
    const double s = settings.gridSpacing;
    const double xmin = -kGridHalfExtent, ymin = -kGridHalfExtent, xmax = kGridHalfExtent, ymax = kGridHalfExtent;
    const double x0 = std::floor(xmin / s) * s, x1 = std::ceil(xmax / s) * s;
    const double y0 = std::floor(ymin / s) * s, y1 = std::ceil(ymax / s) * s;
    const int n = int(std::ceil((xmax - xmin) / s));
    const int m = int(std::ceil((ymax - ymin) / s));
    const Util::Vector4D color = ColorTable::instance().color(ColorTable::GridColor);

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glColor4d(color.x, color.y, color.z, color.w);
    glBegin(GL_LINES);
    for (int i = 0; i <= n; ++i) {
        glVertex3d(x0 + i * s, y0, kGridZ);
        glVertex3d(x0 + i * s, y1, kGridZ);
    }
    for (int j = 0; j <= m; ++j) {
        glVertex3d(x0, y0 + j * s, kGridZ);
        glVertex3d(x1, y0 + j * s, kGridZ);
    }
    glEnd();
    glPopAttrib();
}

void SceneRenderer::drawAxes() const
{
    // The axes do not follow the axis translation: it is the objects' position relative to them.
    const ViewState &view = settings.view;
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

void SceneRenderer::drawLampGlyph(int number) const
{
    const Lamp &l = settings.lamps[size_t(number - 1)];
    const float x = l.position[0];
    const float y = l.position[1];
    const float z = std::min(l.position[2], depthRange());
    const float r = z / kLampGlyphDepthScale + kLampGlyphBaseSize;

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Drawn in the screen plane over everything else, so that a lamp is found wherever it is.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    if (number == settings.activeLamp)
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

} // namespace Rendering
} // namespace Model
