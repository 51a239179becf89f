#include "ScratchFiles.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <cstdlib>

namespace Model {
namespace Persistence {

namespace {
// How many random names are tried in one folder before giving up on it.
constexpr int kAttemptsPerFolder = 64;
}

ScratchFiles::ScratchFiles()
{
    if (createIn(QDir::currentPath()))
        return;
    if (createIn(QDir::tempPath()))
        return;
    qWarning() << __FILE__ << __func__ << "no folder can hold the undo and redo scratch files; step snapshots are off";
}

ScratchFiles::~ScratchFiles()
{
    if (!undo.isEmpty())
        QFile::remove(undo);
    if (!redo.isEmpty())
        QFile::remove(redo);
}

bool ScratchFiles::createIn(const QString &folder)
{
    QDir dir(folder);
    std::srand(unsigned(QDateTime::currentSecsSinceEpoch()));
    for (int attempt = 0; attempt < kAttemptsPerFolder; ++attempt) {
        const QString number = QString::number(std::rand());
        const QString redoCandidate = dir.absoluteFilePath(QStringLiteral("redo") + number + QStringLiteral(".temp"));
        const QString undoCandidate = dir.absoluteFilePath(QStringLiteral("undo") + number + QStringLiteral(".temp"));
        if (QFile::exists(redoCandidate) || QFile::exists(undoCandidate))
            continue;
        // NewOnly: the system guarantees that no other program (another Voxfab started in the
        // same second draws the same numbers) created the file first, so two documents never
        // share a record file.
        QFile redoFile(redoCandidate);
        if (!redoFile.open(QIODevice::ReadWrite | QIODevice::Text | QIODevice::NewOnly)) {
            if (!QFileInfo(folder).isWritable())
                return false;
            continue;
        }
        redoFile.close();
        QFile undoFile(undoCandidate);
        if (!undoFile.open(QIODevice::ReadWrite | QIODevice::Text | QIODevice::NewOnly)) {
            QFile::remove(redoCandidate); // ours; the undo file may be another program's
            if (!QFileInfo(folder).isWritable())
                return false;
            continue;
        }
        undoFile.close();
        undo = undoCandidate;
        redo = redoCandidate;
        return true;
    }
    return false;
}

} // namespace Persistence
} // namespace Model
