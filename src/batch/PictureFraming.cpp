#include "PictureFraming.h"

#include "Model/Automaton/TotalVolume.h"
#include "Model/Scene.h"

#include <QVector3D>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace Batch {

namespace {

// The part of the picture's width or height the volume may take.
constexpr float kFilledFraction = 0.9f;

struct NamedView {
    const char *name;
    float ax, ay, az; // degrees, as the view menu's directions
};
const NamedView kNamedViews[] = {
    {"front", -90, 0, 0},   {"back", -90, 0, 180}, {"left", -90, 0, 90},
    {"right", -90, 0, -90}, {"top", 0, 0, 0},      {"bottom", 180, 0, 0},
};

struct Box {
    QVector3D lower{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                    std::numeric_limits<float>::max()};
    QVector3D upper{std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                    std::numeric_limits<float>::lowest()};
    bool empty = true;

    void add(const QVector3D &p)
    {
        for (int i = 0; i < 3; ++i) {
            lower[i] = std::min(lower[i], p[i]);
            upper[i] = std::max(upper[i], p[i]);
        }
        empty = false;
    }
};

Box volumesBox(Model::Scene &scene)
{
    Box box;
    for (const auto &object : scene.objects()) {
        const auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (!volume)
            continue;
        const Util::Vector3D origin = volume->origin();
        const QVector3D lower(float(origin.x), float(origin.y), float(origin.z));
        box.add(lower);
        box.add(lower + QVector3D(volume->sizeX() * volume->cellSizeX(), volume->sizeY() * volume->cellSizeY(),
                                  volume->sizeZ() * volume->cellSizeZ()));
    }
    return box;
}

} // namespace

Model::Rendering::ViewSettings framedView(Model::Scene &scene, QSize pictureSize, const QString &viewName)
{
    Model::Rendering::ViewSettings settings;
    for (const NamedView &view : kNamedViews) {
        if (viewName == QLatin1String(view.name))
            settings.view.setAngles(view.ax, view.ay, view.az);
    }
    const Box box = volumesBox(scene);
    if (box.empty)
        return settings;

    // The view turns the box about the origin after moving its centre there.
    const QVector3D centre = (box.lower + box.upper) * 0.5f;
    settings.view.tx = -centre.x();
    settings.view.ty = -centre.y();
    settings.view.tz = -centre.z();
    QMatrix4x4 rotation;
    std::copy(settings.view.rotation.begin(), settings.view.rotation.end(), rotation.data());
    QVector3D extent;
    for (int corner = 0; corner < 8; ++corner) {
        const QVector3D p((corner & 1) ? box.upper.x() : box.lower.x(), (corner & 2) ? box.upper.y() : box.lower.y(),
                          (corner & 4) ? box.upper.z() : box.lower.z());
        const QVector3D turned = rotation.map(p - centre);
        for (int i = 0; i < 3; ++i)
            extent[i] = std::max(extent[i], std::fabs(turned[i]));
    }

    // The picture shows width / zoom view units across (see SceneRenderer::projectionMatrix),
    // and a depth of D / zoom with D = √2 · the longer side.
    const float width = float(pictureSize.width());
    const float height = float(pictureSize.height());
    const float depth = std::sqrt(2.0f) * std::max(width, height);
    float zoom = std::numeric_limits<float>::max();
    if (extent.x() > 0.0f)
        zoom = std::min(zoom, kFilledFraction * width / (2.0f * extent.x()));
    if (extent.y() > 0.0f)
        zoom = std::min(zoom, kFilledFraction * height / (2.0f * extent.y()));
    if (extent.z() > 0.0f)
        zoom = std::min(zoom, kFilledFraction * depth / (2.0f * extent.z()));
    if (zoom < std::numeric_limits<float>::max())
        settings.zoom = zoom;
    return settings;
}

} // namespace Batch
