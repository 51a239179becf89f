#include "SelectionMode.h"

#include "Core/Operations/IObjectPicker.h"
#include "Core/Operations/SelectionState.h"
#include "Model/Object.h"
#include "Model/Scene.h"
#include "Util/IObserver.h"

namespace Core {
namespace Operations {

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

bool SelectionMode::pickAt(IObjectPicker &view, int x, int y)
{
    if (!selectionMode)
        return false;
    const std::vector<uint32_t> hit = view.objectIdsAt(x, y);
    togglePicked(hit);
    publish();
    return !hit.empty();
}

void SelectionMode::togglePicked(const std::vector<uint32_t> &objectIds)
{
    for (uint32_t id : objectIds)
        toggleObject(int(id));
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
