#pragma once

#include <QList>
#include <cstdint>
#include <memory>
#include <vector>

namespace Util {
class IObserver;
}
namespace Model {
class Object;
class Scene;
}

namespace Core {
namespace Operations {

class IObjectPicker;
class SelectionState;

// Whether clicks in the 3D view pick objects, and which objects are picked, in picking order.
class SelectionMode {
public:
    SelectionMode(Model::Scene *scene, SelectionState *state) : scene(scene), state(state) {}

    SelectionMode(const SelectionMode &) = delete;
    SelectionMode &operator=(const SelectionMode &) = delete;

    // Turning the mode off clears the selection; observers hear of every change.
    void setSelectionMode(bool on);
    bool isSelectionMode() const { return selectionMode; }

    void clearSelection();

    // A click at window position (x, y): asks the view which objects lie there and toggles
    // them. False when the mode is off or nothing was hit.
    bool pickAt(IObjectPicker &view, int x, int y);

    // Each object of the list is selected or deselected in turn; unknown ids are passed over.
    void togglePicked(const std::vector<uint32_t> &objectIds);
    // Selects the object with this id, or deselects it when it is selected.
    void toggleObject(int objectId);

    QList<std::shared_ptr<Model::Object>> selectedObjects() const { return selected; }
    // Copies the selection list into the shared selection state that the view reads.
    void publish();

    void addObserver(std::shared_ptr<Util::IObserver> observer);

private:
    Model::Scene *scene;
    SelectionState *state;
    QList<std::shared_ptr<Model::Object>> selected;
    std::vector<std::shared_ptr<Util::IObserver>> observers;
    bool selectionMode = false;
};

} // namespace Operations
} // namespace Core
