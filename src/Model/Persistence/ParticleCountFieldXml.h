#pragma once

// The particle count fields of a cell volume in a document: one "ParticleCountField" element
// per field, after the volume's "Position", with the attributes "name" (the property name) and
// "counters-per-cell" (7). Its text holds the counters in cell-index order, separated by single
// spaces; "*N" stands for N counters that are 0, since most of a volume holds no particles.
// Readers that predate the fields skip the element, so such a document still opens there,
// without its fields.

#include <QString>
#include <QStringList>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
namespace Automaton {
class TotalVolume;
}
namespace Persistence {

constexpr const char *kParticleCountFieldElement = "ParticleCountField";

// Writes every particle count field of the volume; the caller holds the volume's cells.
void writeParticleCountFields(QXmlStreamWriter &writer, const Automaton::TotalVolume &volume);

// Reads the field element the reader stands on and attaches it to the volume, leaving the
// reader at the element's end. A field that does not fit the volume is left out with a warning
// in `warnings`; false only when the XML stream itself failed.
bool readParticleCountField(QXmlStreamReader &reader, Automaton::TotalVolume &volume, QStringList &warnings);

} // namespace Persistence
} // namespace Model
