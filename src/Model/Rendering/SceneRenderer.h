#pragma once

// Draws the picture of the 3D view: background, grid, every scene object through its own
// paint, reference axes and lamp glyphs, seen through an orthographic projection and the
// view's rotation, lit by the view's lamps. The interactive view draws its frames with it and
// the command-line runner its saved images, so both show the same picture for the same
// settings. Fixed-function OpenGL 1.x: every drawing call needs a current compatibility
// context; the matrix and eye computations need none.

#include "Model/Rendering/ViewSettings.h"
#include "Util/Vector3D.h"

#include <QImage>
#include <QMatrix4x4>
#include <QSize>
#include <cstdint>
#include <vector>

namespace Model {
class Scene;
namespace Rendering {

class SceneRenderer {
public:
    // `size` is the picture in device-independent pixels (it sets the projection);
    // `pixelRatio` device pixels per such pixel (it sets the viewport). The renderer keeps a
    // reference to `settings`: construct it where it is used.
    SceneRenderer(const ViewSettings &settings, QSize size, qreal pixelRatio = 1.0);

    // D = ⌊√2 · max(width, height)⌋: the depth of the orthographic box.
    float depthRange() const;
    QMatrix4x4 projectionMatrix() const;
    // Where the viewer stands in world coordinates, for the objects that sort their
    // translucent faces back to front.
    Util::Vector3D eyePosition() const;

    // The state that a fresh context needs once: shading, blending, depth test, back-face
    // culling, the lights' colours, material response.
    void initializeContext() const;
    // Viewport, projection and the view's model-view matrix.
    void loadMatrices() const;
    // Loaded with an identity model-view, so that the lamps stay put relative to the viewer.
    void loadLamps() const;

    // One frame. A null scene draws the frame without objects.
    void paint(Scene *scene) const;

    // The ids of the objects of the first hit record when the scene is drawn for picking under
    // a 4 × 4 pixel pick matrix at window position (x, y) (origin top left, device pixels),
    // with the context's current viewport and matrices, which are left as they were.
    static std::vector<uint32_t> pickObjectIds(Scene &scene, int x, int y);

    // A frame read back from OpenGL keeps the background's alpha of 0; the picture is in the
    // colour channels, so the image the user saves is made opaque.
    static QImage opaqueImage(const QImage &frame);

private:
    void drawGrid() const;
    void drawAxes() const;
    void drawLampGlyph(int lamp) const;

    const ViewSettings &settings;
    QSize size;
    qreal pixelRatio;
};

} // namespace Rendering
} // namespace Model
