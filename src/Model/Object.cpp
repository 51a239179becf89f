#include "Object.h"

#include "ColorTable.h"

#include <atomic>

namespace Model {

namespace {
std::atomic<int> nextObjectId{0};
}

Object::Object()
    : fillColor(ColorTable::instance().color(ColorTable::ObjectColor, ColorTable::kDefaultSet)),
      edgeColor(ColorTable::instance().color(ColorTable::OutlineColor, ColorTable::kDefaultSet)),
      id(nextObjectId.fetch_add(1))
{
}

Util::Vector4D Object::color() const
{
    return fillColor;
}

Util::Vector3D Object::outlineColor() const
{
    return Util::Vector3D(edgeColor);
}

void Object::setColor(const Util::Vector4D &color)
{
    fillColor = color;
}

void Object::setOutlineColor(const Util::Vector4D &color)
{
    edgeColor = color;
}

void Object::setSelected(bool on)
{
    selected = on;
}

bool Object::isSelected() const
{
    return selected;
}

void Object::setTemporaryDisplacement(const Util::Vector3D &d)
{
    displacement.x = d.x;
    displacement.y = d.y;
    displacement.z = d.z;
}

} // namespace Model
