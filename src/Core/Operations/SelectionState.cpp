#include "SelectionState.h"

#include "Model/Object.h"

#include <QMutexLocker>

namespace Core {
namespace Operations {

void SelectionState::clearPreview()
{
    QMutexLocker lock(&mutex);
    currentPreview = Preview();
}

void SelectionState::setMovePreview(Operation *owner, const Util::Vector3D *start,
                                    const Util::Vector3D *end, const Util::Vector3D *displacement)
{
    QMutexLocker lock(&mutex);
    currentPreview.owner = owner;
    currentPreview.move = Segment{start, end};
    currentPreview.displacement = displacement;
}

void SelectionState::setLinePreview(Operation *owner, const Util::Vector3D *start, const Util::Vector3D *end)
{
    QMutexLocker lock(&mutex);
    currentPreview.owner = owner;
    currentPreview.line = Segment{start, end};
}

SelectionState::Preview SelectionState::preview() const
{
    QMutexLocker lock(&mutex);
    return currentPreview;
}

QList<std::shared_ptr<Model::Object>> SelectionState::selectedObjects() const
{
    QMutexLocker lock(&mutex);
    return selection;
}

void SelectionState::publishSelection(const QList<std::shared_ptr<Model::Object>> &objects)
{
    QMutexLocker lock(&mutex);
    selection = objects;
}

} // namespace Operations
} // namespace Core
