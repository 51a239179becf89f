#include "SelectionMode.h"

#include "Core/Operations/SelectionState.h"
#include "Model/Object.h"
#include "Model/Scene.h"
#include "Util/IObserver.h"

namespace Core {
namespace Operations {

namespace {
// Layout of one hit record in an OpenGL selection buffer.
constexpr int kHitNameCountWord = 0;
constexpr int kHitFirstNameWord = 3;
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
