#pragma once

#include <QString>

namespace Model {
namespace Automaton {
class TotalVolume;
}

namespace ModelExtraction {

// The three steps of model extraction without a view: the volume cut into linked boxes, the
// cantilever rule, the netlist. Empty when the volume holds no cantilever.
QString extractCantileverNetlist(Automaton::TotalVolume &volume);

// Writes a netlist as text (the system's encoding, the platform's line ends). False when the
// file cannot be opened for writing or the text was not written whole.
bool saveNetlist(const QString &path, const QString &text);

} // namespace ModelExtraction
} // namespace Model
