#include "LastFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace Ui {

namespace {

QString key(FileKind kind)
{
    switch (kind) {
    case FileKind::Documents:
        return QStringLiteral("LastFolder/documents");
    case FileKind::Images:
        return QStringLiteral("LastFolder/images");
    case FileKind::ProcessLists:
        return QStringLiteral("LastFolder/processLists");
    case FileKind::Masks:
        return QStringLiteral("LastFolder/masks");
    case FileKind::Csv:
        return QStringLiteral("LastFolder/csv");
    case FileKind::Netlists:
        return QStringLiteral("LastFolder/netlists");
    case FileKind::Exports:
        return QStringLiteral("LastFolder/exports");
    }
    return QStringLiteral("LastFolder/other");
}

} // namespace

QString lastFolder(FileKind kind)
{
    const QString folder = QSettings().value(key(kind)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QDir::homePath();
    return folder;
}

void rememberFolder(FileKind kind, const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    QSettings().setValue(key(kind), info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

} // namespace Ui
