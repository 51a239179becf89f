#include "ParticleCountFieldXml.h"

#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <memory>

namespace Model {
namespace Persistence {

namespace {

using Automaton::ParticleCountField;

const QString kNameAttribute = QStringLiteral("name");
const QString kSlotsAttribute = QStringLiteral("counters-per-cell");
constexpr QChar kZeroRun = QLatin1Char('*');
// Counters formatted per writeCharacters call.
constexpr size_t kCountersPerChunk = 16384;

void appendToken(QString &text, uint32_t value, bool zeroRun)
{
    if (zeroRun)
        text += kZeroRun;
    text += QString::number(value);
    text += QLatin1Char(' ');
}

void writeCounters(QXmlStreamWriter &writer, const ParticleCountField &field)
{
    const uint32_t *counters = field.data();
    const size_t count = field.counterCount();
    QString chunk;
    size_t tokens = 0;
    for (size_t i = 0; i < count;) {
        if (counters[i] == 0) {
            size_t end = i;
            while (end < count && counters[end] == 0)
                ++end;
            appendToken(chunk, uint32_t(end - i), true);
            i = end;
        } else {
            appendToken(chunk, counters[i], false);
            ++i;
        }
        if (++tokens % kCountersPerChunk == 0) {
            writer.writeCharacters(chunk);
            chunk.clear();
        }
    }
    writer.writeCharacters(chunk);
}

// Decodes the counters of a field's text into `field`; false when a token is not a counter or
// a zero run, or when the text holds another number of counters than the field.
bool readCounters(const QString &text, ParticleCountField &field, QString &why)
{
    uint32_t *counters = field.data();
    const size_t count = field.counterCount();
    size_t at = 0;
    const QVector<QStringRef> tokens = text.splitRef(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QStringRef &token : tokens) {
        const bool zeroRun = token.startsWith(kZeroRun);
        bool ok = false;
        const uint32_t value = (zeroRun ? token.mid(1) : token).trimmed().toUInt(&ok);
        if (!ok) {
            why = QStringLiteral("\"%1\" is not a particle count").arg(token.toString());
            return false;
        }
        const size_t run = zeroRun ? value : 1;
        if (run > count - at) {
            why = QStringLiteral("it holds more than the %1 counters of the volume's cells").arg(count);
            return false;
        }
        if (!zeroRun)
            counters[at] = value;
        at += run; // the field starts at 0, so a zero run only moves on
    }
    if (at != count) {
        why = QStringLiteral("it holds %1 counters for the %2 of the volume's cells").arg(at).arg(count);
        return false;
    }
    return true;
}

} // namespace

void writeParticleCountFields(QXmlStreamWriter &writer, const Automaton::TotalVolume &volume)
{
    for (const QString &name : volume.particleCountFieldNames()) {
        const auto field = volume.particleCountField(name);
        writer.writeStartElement(QLatin1String(kParticleCountFieldElement));
        writer.writeAttribute(kNameAttribute, name);
        writer.writeAttribute(kSlotsAttribute, QString::number(ParticleCountField::kSlotsPerCell));
        writeCounters(writer, *field);
        writer.writeEndElement();
    }
}

bool readParticleCountField(QXmlStreamReader &reader, Automaton::TotalVolume &volume, QStringList &warnings)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    const QString name = attributes.value(kNameAttribute).toString();
    const QString slotCount = attributes.value(kSlotsAttribute).toString();
    const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
    if (reader.hasError())
        return false;
    QString why;
    auto field = std::make_shared<ParticleCountField>(volume.cellCount());
    if (name.isEmpty())
        why = QStringLiteral("it has no name");
    else if (slotCount != QString::number(ParticleCountField::kSlotsPerCell))
        why = QStringLiteral("it has %1 counters per cell, not %2").arg(slotCount).arg(ParticleCountField::kSlotsPerCell);
    else
        readCounters(text, *field, why);
    if (!why.isEmpty()) {
        warnings << QStringLiteral("The particle count field \"%1\" of a cell volume is left out: %2.").arg(name, why);
        return true;
    }
    volume.setParticleCountField(name, field);
    return true;
}

} // namespace Persistence
} // namespace Model
