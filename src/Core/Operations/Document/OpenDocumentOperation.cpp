#include "OpenDocumentOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Util/IObserver.h"

#include <QDir>
#include <QFileInfo>

namespace Core {
namespace Operations {

namespace {

struct LastChoice {
    QString path;
    QString directory = QDir::homePath();
};

LastChoice &lastChoice()
{
    static LastChoice choice;
    return choice;
}

} // namespace

OpenDocumentOperation::OpenDocumentOperation(ApplicationModel *model)
    : Operation(model, "Open document", OpenId)
{
}

QString OpenDocumentOperation::lastDocumentPath()
{
    return lastChoice().path;
}

QString OpenDocumentOperation::lastDirectory()
{
    return lastChoice().directory;
}

void OpenDocumentOperation::setLastDocumentPath(const QString &path)
{
    lastChoice().path = path;
    if (!path.isEmpty())
        lastChoice().directory = QFileInfo(path).absolutePath();
}

void OpenDocumentOperation::execute()
{
    const QString path = choosePath ? choosePath(QDir(lastDirectory()).absolutePath()) : QString();
    setLastDocumentPath(path);
    if (path.isEmpty())
        cancel();
    else
        finish();
}

void OpenDocumentOperation::cancel()
{
    model->operationEnded();
}

void OpenDocumentOperation::finish()
{
    if (openedObserver)
        openedObserver->update();
    model->operationFinished();
}

} // namespace Operations
} // namespace Core
