#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

namespace Model {
class Scene;
}

namespace Batch {

// Renders the picture a fresh 3D view shows of a scene (lamp, colours and axes), looking from
// the named direction and framed so that the cell volumes fill it (see framedView), into a framebuffer object of an offscreen OpenGL context, and saves it as an image.
// The context is made at the first picture only, so that a run without "Save Image" steps
// never needs a display; when it cannot be had, every picture fails with the same reason.
// Lives and renders on the thread that created the application object.
class OffscreenPicture {
public:
    // A fresh view is a widget that no layout has sized yet: Qt gives such a window 640 × 480.
    static constexpr int kDefaultWidth = 640;  // pixels
    static constexpr int kDefaultHeight = 480; // pixels

    // `viewName` as framedView takes it.
    explicit OffscreenPicture(QSize size = QSize(kDefaultWidth, kDefaultHeight),
                              QString viewName = QStringLiteral("iso"));
    ~OffscreenPicture();

    OffscreenPicture(const OffscreenPicture &) = delete;
    OffscreenPicture &operator=(const OffscreenPicture &) = delete;

    // The opaque picture of `scene`; a null image, with the reason in `why`, when there is no
    // OpenGL context to draw with. The objects' geometry must be up to date.
    QImage render(Model::Scene &scene, QString *why);
    // Renders and saves into `fileName`, in the format its extension names (PNG without one).
    // Empty on success, otherwise why the image was not saved.
    QString save(Model::Scene &scene, const QString &fileName);

private:
    bool makeContext();

    QSize pictureSize;
    QString viewName;
    std::unique_ptr<QOffscreenSurface> surface;
    std::unique_ptr<QOpenGLContext> context;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer;
    bool attempted = false;
    QString contextFailure; // why there is no context, once that is known
};

} // namespace Batch
