#include "SaveDocumentOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Util/IObserver.h"

#include <QDir>

namespace Core {
namespace Operations {

SaveDocumentOperation::SaveDocumentOperation(ApplicationModel *model)
    : SaveDocumentOperation(model, "Save document", SaveId)
{
}

SaveDocumentOperation::SaveDocumentOperation(ApplicationModel *model, std::string name, uint32_t kind)
    : Operation(model, std::move(name), kind)
{
}

QString SaveDocumentOperation::askForPath() const
{
    return choosePath ? choosePath(QDir::homePath()) : QString();
}

void SaveDocumentOperation::execute()
{
    chosenPath = model->scene().documentName();
    if (chosenPath.isEmpty())
        chosenPath = askForPath();
    finish();
}

void SaveDocumentOperation::cancel()
{
    model->operationEnded();
}

void SaveDocumentOperation::finish()
{
    if (chosenPath.isEmpty()) {
        model->operationEnded();
        return;
    }
    writeAndNotify();
    model->operationFinished();
}

void SaveDocumentOperation::writeAndNotify()
{
    if (writeDocument(*model, chosenPath, report))
        model->markUnmodified();
    if (savedObserver)
        savedObserver->update();
}

} // namespace Operations
} // namespace Core
