#include "CopyObject.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

CopyObject::CopyObject(ApplicationModel *model) : MoveObject(model, "Copy Objects", CopyId, "Copy") {}

std::string CopyObject::selectPrompt() const
{
    return "Select the object(s) to be copied and press Enter";
}

std::string CopyObject::doneMessage() const
{
    return "Object(s) copied";
}

void CopyObject::apply()
{
    made.clear();
    for (const auto &object : moving) {
        std::shared_ptr<Model::Object> copy(object->clone());
        if (!copy)
            continue; // this kind of object cannot be copied
        copy->move(distance);
        model->scene().addObject(copy);
        made.append(copy);
    }
}

void CopyObject::revert()
{
    for (const auto &copy : made)
        model->scene().removeObject(copy);
}

void CopyObject::reapply()
{
    for (const auto &copy : made)
        model->scene().addObject(copy);
}

} // namespace Operations
} // namespace Core
