#include "SelectionMode.h"

#include "Core/Operations/SelectionState.h"
#include "Model/Object.h"
#include "Model/Scene.h"
#include "Util/IObserver.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace Core {
namespace Operations {

namespace {
// Layout of one hit record in an OpenGL selection buffer.
constexpr int kHitNameCountWord = 0;
constexpr int kHitFirstNameWord = 3;

constexpr GLsizei kSelectionBufferSize = 2048; // words
constexpr GLdouble kPickRegionSize = 4.0;      // pixels, width and height
}

void SelectionMode::setSelectionMode(bool on)
{
    if (on == selectionMode)
        return;
    selectionMode = on;
    if (!on)
        clearSelection();
    for (const auto &observer : observers)
        observer->update();
}

void SelectionMode::clearSelection()
{
    for (const auto &object : selected)
        object->setSelected(false);
    selected.clear();
    publish();
}

bool SelectionMode::pickAt(int x, int y)
{
    if (!selectionMode)
        return false;
    GLuint hitsBuffer[kSelectionBufferSize] = {};
    GLint viewport[4];
    GLdouble projection[16];
    GLdouble modelView[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);

    glSelectBuffer(kSelectionBufferSize, hitsBuffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(GLdouble(x), GLdouble(viewport[1] + viewport[3] - y), kPickRegionSize, kPickRegionSize, viewport);
    glMultMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
    scene->paintAllForPicking();
    const GLint hits = glRenderMode(GL_RENDER);
    if (hits > 0)
        togglePicked(hitsBuffer);

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
    // A pick proxy that forgets to pop its matrix must not shift the next frame.
    glLoadMatrixd(modelView);
    publish();
    return hits > 0;
}

void SelectionMode::togglePicked(const uint32_t *hits)
{
    const uint32_t names = hits[kHitNameCountWord];
    for (uint32_t i = 0; i < names; ++i)
        toggleObject(int(hits[kHitFirstNameWord + i]));
}

void SelectionMode::toggleObject(int objectId)
{
    bool found = false;
    auto object = scene->findObject(objectId, &found);
    if (!found)
        return;
    if (object->isSelected()) {
        object->setSelected(false);
        selected.removeAll(object);
    } else {
        object->setSelected(true);
        selected.append(object);
    }
    publish();
}

void SelectionMode::publish()
{
    state->publishSelection(selected);
}

void SelectionMode::addObserver(std::shared_ptr<Util::IObserver> observer)
{
    observers.push_back(std::move(observer));
}

} // namespace Operations
} // namespace Core
