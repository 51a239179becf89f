#pragma once

#include <QString>

namespace Ui {

// The kinds of files the user picks in file dialogs. Each kind remembers, between runs, the
// folder of the last file chosen, so that its dialogs open where the user worked last.
enum class FileKind { Documents, Images, ProcessLists, Masks, Csv, Netlists, Exports };

// The folder a file dialog of this kind starts in: the folder of the last choice, or the home
// folder when there was none or that folder is gone.
QString lastFolder(FileKind kind);

// Remembers where `path` lies (a file, existing or about to be written, or a folder) as the
// last folder of this kind. An empty path (a cancelled dialog) changes nothing.
void rememberFolder(FileKind kind, const QString &path);

} // namespace Ui
