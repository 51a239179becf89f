#include "SaveDocumentAsOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"

namespace Core {
namespace Operations {

SaveDocumentAsOperation::SaveDocumentAsOperation(ApplicationModel *model)
    : SaveDocumentOperation(model, "Save Document As", SaveAsId)
{
}

void SaveDocumentAsOperation::execute()
{
    chosenPath = askForPath();
    finish();
}

void SaveDocumentAsOperation::finish()
{
    if (!chosenPath.isEmpty())
        writeAndNotify();
    model->operationFinished();
}

} // namespace Operations
} // namespace Core
