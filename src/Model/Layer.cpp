#include "Layer.h"

#include <GL/gl.h>

namespace Model {

void Layer::remove(const std::shared_ptr<Object> &object)
{
    objectList.removeAll(object);
}

std::shared_ptr<Object> Layer::find(int objectId) const
{
    for (const auto &object : objectList)
        if (object && object->objectId() == objectId)
            return object;
    return {};
}

void Layer::paintAll(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition) const
{
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    for (const auto &object : objectList) {
        if (mode == GL_RENDER) {
            object->paint(drawFaces, drawOutlines, eyePosition);
        } else if (mode == GL_SELECT) {
            glPushName(GLuint(object->objectId()));
            object->paintForPicking();
            glPopName();
        }
    }
}

void Layer::paintAllForPicking() const
{
    for (const auto &object : objectList) {
        glPushName(GLuint(object->objectId()));
        object->paintForPicking();
        glPopName();
    }
}

} // namespace Model
