#pragma once

#include "Model/Rendering/ViewSettings.h"

#include <QSize>
#include <QString>

namespace Model {
class Scene;
}

namespace Batch {

// The view a batch picture shows: looking from one of the named directions ("iso" is the fresh
// view's own), centred on the cell volumes of the scene and zoomed so that their bounding box
// fills the picture but for a small margin, with the depth range wide enough to keep all of it.
// A scene without cell volumes keeps the fresh view's centre and zoom.
Model::Rendering::ViewSettings framedView(Model::Scene &scene, QSize pictureSize, const QString &viewName);

} // namespace Batch
