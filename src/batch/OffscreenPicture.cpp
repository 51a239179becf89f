#include "OffscreenPicture.h"

#include "PictureFraming.h"

#include "Model/Rendering/SceneRenderer.h"
#include "Model/Rendering/ViewSettings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>

namespace Batch {

namespace {

constexpr int kDepthBits = 24;
constexpr int kColorBits = 8;

// The view draws with fixed-function OpenGL, which only a compatibility profile offers.
QSurfaceFormat pictureFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(kColorBits);
    format.setGreenBufferSize(kColorBits);
    format.setBlueBufferSize(kColorBits);
    format.setAlphaBufferSize(kColorBits);
    format.setDepthBufferSize(kDepthBits);
    return format;
}

} // namespace

OffscreenPicture::OffscreenPicture(QSize size, QString viewName) : pictureSize(size), viewName(std::move(viewName))
{
}

OffscreenPicture::~OffscreenPicture()
{
    // The framebuffer object must go while its context is current.
    if (framebuffer && context && surface && context->makeCurrent(surface.get())) {
        framebuffer.reset();
        context->doneCurrent();
    }
}

bool OffscreenPicture::makeContext()
{
    if (attempted)
        return contextFailure.isEmpty();
    attempted = true;
    const QString platform = QGuiApplication::platformName();

    surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(pictureFormat());
    surface->create();
    context = std::make_unique<QOpenGLContext>();
    context->setFormat(pictureFormat());
    if (!surface->isValid() || !context->create()) {
        const QString display = qEnvironmentVariable("DISPLAY");
        contextFailure =
            display.isEmpty()
                ? QStringLiteral("no OpenGL context: there is no X display (DISPLAY is not set); "
                                 "run under xvfb-run for a virtual one")
                : QStringLiteral("no OpenGL context could be created on the X display \"%1\" "
                                 "(\"%2\" platform)")
                      .arg(display, platform);
        return false;
    }
    if (context->isOpenGLES()) {
        contextFailure = QStringLiteral("the OpenGL context is OpenGL ES, which cannot draw the fixed-function view");
        return false;
    }
    if (!context->makeCurrent(surface.get())) {
        contextFailure = QStringLiteral("the offscreen OpenGL context could not be made current");
        return false;
    }
    if (!QOpenGLFramebufferObject::hasOpenGLFramebufferObjects()) {
        context->doneCurrent();
        contextFailure = QStringLiteral("the OpenGL implementation has no framebuffer objects");
        return false;
    }
    framebuffer = std::make_unique<QOpenGLFramebufferObject>(pictureSize, QOpenGLFramebufferObject::Depth);
    if (!framebuffer->isValid()) {
        framebuffer.reset();
        context->doneCurrent();
        contextFailure = QStringLiteral("no %1 x %2 framebuffer object could be created")
                             .arg(pictureSize.width())
                             .arg(pictureSize.height());
        return false;
    }
    // The lights and materials are context state: set once, as a fresh view does.
    const Model::Rendering::ViewSettings defaults;
    framebuffer->bind();
    Model::Rendering::SceneRenderer(defaults, pictureSize).initializeContext();
    framebuffer->release();
    context->doneCurrent();
    return true;
}

QImage OffscreenPicture::render(Model::Scene &scene, QString *why)
{
    if (!makeContext()) {
        if (why)
            *why = contextFailure;
        return QImage();
    }
    if (!context->makeCurrent(surface.get())) {
        if (why)
            *why = QStringLiteral("the offscreen OpenGL context could not be made current");
        return QImage();
    }
    const Model::Rendering::ViewSettings framed = framedView(scene, pictureSize, viewName);
    framebuffer->bind();
    Model::Rendering::SceneRenderer(framed, pictureSize).paint(&scene);
    const QImage frame = framebuffer->toImage();
    framebuffer->release();
    context->doneCurrent();
    return Model::Rendering::SceneRenderer::opaqueImage(frame);
}

QString OffscreenPicture::save(Model::Scene &scene, const QString &fileName)
{
    QString why;
    const QImage image = render(scene, &why);
    if (image.isNull())
        return why;
    QImageWriter writer(fileName);
    if (QFileInfo(fileName).suffix().isEmpty())
        writer.setFormat("png");
    if (!writer.write(image))
        return QStringLiteral("the image could not be written to %1: %2").arg(fileName, writer.errorString());
    return QString();
}

} // namespace Batch
