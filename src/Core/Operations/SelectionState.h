#pragma once

#include "Util/Vector3D.h"

#include <QList>
#include <QMutex>
#include <memory>

namespace Model {
class Object;
}

namespace Core {
namespace Operations {

class Operation;

// What the 3D view reads while it paints: the preview of a running object operation and the
// selection as last published. Everything is guarded by one mutex.
class SelectionState {
public:
    // Two points the view joins; both null when there is nothing to draw.
    struct Segment {
        const Util::Vector3D *start = nullptr;
        const Util::Vector3D *end = nullptr;
    };
    struct Preview {
        Operation *owner = nullptr;
        Segment move;  // the objects drawn displaced from start to end
        Segment line;  // a rubber-band line from start to end
        const Util::Vector3D *displacement = nullptr;
    };

    void clearPreview();
    void setMovePreview(Operation *owner, const Util::Vector3D *start, const Util::Vector3D *end,
                        const Util::Vector3D *displacement = nullptr);
    void setLinePreview(Operation *owner, const Util::Vector3D *start, const Util::Vector3D *end);
    Preview preview() const;

    QList<std::shared_ptr<Model::Object>> selectedObjects() const;
    void publishSelection(const QList<std::shared_ptr<Model::Object>> &objects);

private:
    mutable QMutex mutex;
    Preview currentPreview;
    QList<std::shared_ptr<Model::Object>> selection;
};

} // namespace Operations
} // namespace Core
