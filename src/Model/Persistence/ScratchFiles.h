#pragma once

#include <QString>

namespace Model {
namespace Persistence {

// The pair of scratch files a document owns for undo and redo records: "undo<N>.temp" and
// "redo<N>.temp" with one random N, created empty in the working folder (or, when that folder
// cannot hold them, in the system's temporary folder) and removed when the document goes.
class ScratchFiles {
public:
    ScratchFiles();
    ~ScratchFiles();

    ScratchFiles(const ScratchFiles &) = delete;
    ScratchFiles &operator=(const ScratchFiles &) = delete;

    // Empty when no folder could hold the files; records are then neither written nor found.
    QString undoPath() const { return undo; }
    QString redoPath() const { return redo; }

private:
    bool createIn(const QString &folder);

    QString undo;
    QString redo;
};

} // namespace Persistence
} // namespace Model
