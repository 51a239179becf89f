#pragma once

#include "Model/Layer.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <memory>

namespace Model {

// The document's objects, in layers. The objects mutex guards the layer lists against the
// view, which reads them while painting; the name mutex guards the document name.
class Scene {
public:
    Scene();

    Scene(const Scene &) = delete;
    Scene &operator=(const Scene &) = delete;

    // Appends to the current layer.
    void addObject(const std::shared_ptr<Object> &object);
    // Removes every entry equal to this pointer from the current layer.
    void removeObject(const std::shared_ptr<Object> &object);
    // The first object with this id, layers in order; `found` tells whether there was one.
    std::shared_ptr<Object> findObject(int objectId, bool *found = nullptr);
    // Every object of every layer, layers in order.
    QList<std::shared_ptr<Object>> objects();

    void paintAll(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition);
    void paintAllForPicking();

    QString documentName();
    void setDocumentName(const QString &name);

    // Drops every layer and object, starts again with layer 0 and an empty document name.
    void clear();

    std::shared_ptr<Layer> currentLayer();
    QList<std::shared_ptr<Layer>> layers();

private:
    QMutex objectsMutex;
    QMutex nameMutex;
    QList<std::shared_ptr<Layer>> layerList;
    std::shared_ptr<Layer> current;
    QString name;
};

} // namespace Model
