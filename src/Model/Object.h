#pragma once

#include "Util/Vector3D.h"

#include <cstdint>

namespace Model {

// Base of everything in the scene (cell volumes, extracted models). Objects are always held
// by shared pointers. Every construction, clones included, takes a new process-unique
// `objectId`, which is also the object's OpenGL pick name.
class Object {
public:
    enum Type : uint32_t { TotalVolumeType = 1, ExtractedModelType = 2 };

    Object();
    virtual ~Object() = default;

    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    virtual uint32_t objectType() const = 0;
    // Draw in GL_RENDER mode: faces, outlines, seen from `eyePosition`.
    virtual void paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition) = 0;
    // Draw in GL_SELECT mode, without colours.
    virtual void paintForPicking() = 0;
    // A new heap object owned by the caller, or null when this kind cannot be copied.
    virtual Object *clone() = 0;
    virtual void move(const Util::Vector4D &displacement) = 0;
    // Two-vector transformation hook; no object kind uses it.
    virtual void transform(const Util::Vector4D &a, const Util::Vector4D &b) = 0;

    virtual Util::Vector4D color() const;
    virtual Util::Vector3D outlineColor() const;
    virtual void setColor(const Util::Vector4D &color);
    virtual void setOutlineColor(const Util::Vector4D &color);
    virtual void setSelected(bool selected);
    virtual bool isSelected() const;

    int objectId() const { return id; }
    bool isTemporary() const { return temporary; }
    void setTemporary(bool on) { temporary = on; }
    Util::Vector3D temporaryDisplacement() const { return displacement; }
    // Copies x, y and z only.
    void setTemporaryDisplacement(const Util::Vector3D &d);

private:
    Util::Vector4D fillColor;
    Util::Vector4D edgeColor;
    int id;
    bool temporary = false;
    Util::Vector3D displacement;
    bool selected = false;
};

} // namespace Model
