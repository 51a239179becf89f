#pragma once

#include "Engine/ProcessData.h"

#include <QList>
#include <QMap>
#include <QString>
#include <cstdint>
#include <functional>

namespace Engine {

// Reads and writes ".plst" process lists. A list carries the materials of the catalogue, so
// that a list opened elsewhere finds its materials again: on reading, every material id that
// a step refers to is translated into the catalogue's id of that material.
class ProcessListFile {
public:
    // Shows a warning to the user: a box title and its text. The dialog shows a message box,
    // the command-line runner prints to standard error.
    using Warning = std::function<void(const QString &title, const QString &text)>;

    static constexpr const char *kUpdatedListTitle = "Updated List";
    static constexpr const char *kUpdatedListText =
        "The process list you loaded is in an old format. It has been updated automatically. "
        "We recommend you save this updated version.";

    void setWarning(Warning warning) { warn = std::move(warning); }

    // True when the file opened and the XML stream reported no error.
    bool write(const QString &path, const QList<ProcessData> &list);
    // Replaces `list` only when the file was read; false (and `list` untouched) otherwise.
    // Material clashes go to the process-wide material-conflict observer, as for documents.
    bool read(const QString &path, QList<ProcessData> &list);

    // The "version" attribute of the last list read (0 when absent).
    int version() const { return fileVersion; }
    // File id → catalogue id, filled from the "Materials" section of the last list read.
    const QMap<uint32_t, uint32_t> &materialMap() const { return materialIds; }

private:
    Warning warn;
    int fileVersion = 0;
    QMap<uint32_t, uint32_t> materialIds;
};

} // namespace Engine
