#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace Model {
namespace Automaton {
class TotalVolume;
}
namespace Persistence {

// Snapshot records of a volume's materials in an undo or redo scratch file. A record is one
// line: its name, its instance number, then one material id per cell in cell-index order,
// separated by blanks. Files are written and scanned as streams, never loaded whole.

// Appends a record of the volume's materials; takes the volume's cell lock while reading them.
// Returns false when the file cannot be written.
bool appendSnapshot(const QString &path, const std::string &name, uint32_t instance,
                    Automaton::TotalVolume &volume);

// Finds the first record with this name and instance and writes its ids into the volume's
// cells, under the cell lock. Returns false, leaving the cells alone, when there is no such
// record, when the file cannot be read, or when the record holds fewer ids than the volume
// has cells.
bool restoreSnapshot(const QString &path, const std::string &name, uint32_t instance,
                     Automaton::TotalVolume &volume);

} // namespace Persistence
} // namespace Model
