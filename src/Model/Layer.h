#pragma once

#include "Model/Object.h"

#include <QList>
#include <cstdint>
#include <memory>

namespace Model {

// An ordered list of scene objects with a number and a visibility flag.
class Layer {
public:
    explicit Layer(uint32_t number = 0) : layerNumber(number) {}

    void append(const std::shared_ptr<Object> &object) { objectList.append(object); }
    // Removes every entry that holds this pointer.
    void remove(const std::shared_ptr<Object> &object);
    // The first object with this id, or an empty pointer.
    std::shared_ptr<Object> find(int objectId) const;
    QList<std::shared_ptr<Object>> objects() const { return objectList; }

    // Draws each object in GL_RENDER mode, or with its pick name in GL_SELECT mode.
    void paintAll(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition) const;
    void paintAllForPicking() const;

    uint32_t number() const { return layerNumber; }
    bool isVisible() const { return visible; }
    void setVisible(bool on) { visible = on; }

private:
    QList<std::shared_ptr<Object>> objectList;
    uint32_t layerNumber;
    bool visible = true;
};

} // namespace Model
