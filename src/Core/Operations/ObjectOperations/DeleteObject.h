#pragma once

#include "Core/Operations/ObjectOperation.h"

#include <QList>
#include <memory>

namespace Model {
class Object;
}

namespace Core {
namespace Operations {

// Removes the selected objects from the scene; undo puts them back.
class DeleteObject : public ObjectOperation {
public:
    explicit DeleteObject(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
    bool undo() override;
    bool redo() override;

    QList<std::shared_ptr<Model::Object>> objects() const { return deleted; }

private:
    void post(const std::string &text);

    bool haveObjects = false;
    bool prompted = false;
    QList<std::shared_ptr<Model::Object>> deleted;
};

} // namespace Operations
} // namespace Core
