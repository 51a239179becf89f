#include "TotalVolumeArchiver.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Model/Persistence/ParticleCountFieldXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>
#include <limits>

namespace Model {
namespace Persistence {

namespace {

constexpr int kSignificantDigits = 6;
// Cells formatted per writeCharacters call: large enough to amortise the call, small enough
// that the buffer stays in cache (at most ten digits and a space per cell).
constexpr uint32_t kCellsPerChunk = 16384;
constexpr int kMaxCharsPerId = 11;
constexpr float kDefaultCellSize = 1.0f;

const char *const kSizeNames[3] = {"size-x", "size-y", "size-z"};
const char *const kCellSizeNames[3] = {"cellsize-x", "cellsize-y", "cellsize-z"};
const char *const kPositionNames[3] = {"pos-x", "pos-y", "pos-z"};

QString number(double value)
{
    return QString::number(value, 'g', kSignificantDigits);
}

// Writes `id` in decimal followed by a space at `out`; returns the position after the space.
QChar *appendId(QChar *out, uint32_t id)
{
    char digits[10];
    int count = 0;
    do {
        digits[count++] = char('0' + id % 10);
        id /= 10;
    } while (id != 0);
    while (count > 0)
        *out++ = QLatin1Char(digits[--count]);
    *out++ = QLatin1Char(' ');
    return out;
}

bool isBlank(ushort c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

constexpr uint64_t kLargestId = std::numeric_limits<uint32_t>::max();


// Translates loaded ids through the map, remembering the last pair: cells come in long runs
// of one material, so most lookups never reach the map.
class IdTranslator {
public:
    explicit IdTranslator(const MaterialIdMap &map) : map(map) {}
    uint32_t operator()(uint32_t loaded)
    {
        if (!cached || loaded != lastLoaded) {
            lastLoaded = loaded;
            lastMapped = map.translate(loaded);
            cached = true;
        }
        return lastMapped;
    }

private:
    const MaterialIdMap &map;
    bool cached = false;
    uint32_t lastLoaded = 0;
    uint32_t lastMapped = 0;
};

// The ids of a "State" text as it arrives, a character at a time and possibly in pieces:
// digits build the current id, a blank ends it. An entry that is not an unsigned 32-bit number
// (a letter, a sign, too many digits) reads as 0, an empty cell, and is counted for the
// warning. Ids beyond the last cell are counted, not stored, so that the warning can say how
// many the text held.
class StateParser {
public:
    StateParser(Automaton::Cell *cells, uint32_t cellCount) : cells(cells), cellCount(cellCount) {}

    void digit(unsigned digit)
    {
        inNumber = true;
        if (unreadable)
            return;
        value = value * 10 + digit;
        unreadable = value > kLargestId;
    }
    // Any character that belongs neither to an id nor between ids.
    void other()
    {
        inNumber = true;
        unreadable = true;
    }
    void blank()
    {
        if (inNumber)
            store();
    }
    // Ends the text; returns how many ids it held.
    uint64_t finish()
    {
        blank();
        return stored;
    }
    uint64_t unreadableIds() const { return unreadableCount; }

private:
    void store()
    {
        if (stored < cellCount)
            cells[stored].setMaterial(unreadable ? 0u : uint32_t(value));
        unreadableCount += unreadable;
        ++stored;
        value = 0;
        inNumber = false;
        unreadable = false;
    }

    Automaton::Cell *cells;
    uint64_t cellCount;
    uint64_t stored = 0;
    uint64_t unreadableCount = 0;
    uint64_t value = 0;
    bool inNumber = false;
    bool unreadable = false;
};

// "1 cell", "2 cells".
QString counted(uint64_t count, const char *singular, const char *plural)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

bool isDigit(char c)
{
    return unsigned(c) - unsigned('0') <= 9;
}

// The bytes of a State text that may be lifted out of a document: digits and blanks. Any
// other State stays with the XML reader, which then refuses or decodes it as it always has.
const char *const kStateBytes = "0123456789 \n\r\t";

} // namespace

bool TotalVolumeArchiver::write(const std::shared_ptr<Object> &object)
{
    auto volume = std::dynamic_pointer_cast<Automaton::TotalVolume>(object);
    if (!writer || !volume)
        return false;
    writer->writeStartElement(QStringLiteral("Object"));
    writer->writeAttribute(QStringLiteral("object-type"), QString::number(volume->objectType()));
    writer->writeAttribute(QLatin1String(kSizeNames[0]), QString::number(volume->sizeX()));
    writer->writeAttribute(QLatin1String(kSizeNames[1]), QString::number(volume->sizeY()));
    writer->writeAttribute(QLatin1String(kSizeNames[2]), QString::number(volume->sizeZ()));
    writer->writeAttribute(QLatin1String(kCellSizeNames[0]), number(volume->cellSizeX()));
    writer->writeAttribute(QLatin1String(kCellSizeNames[1]), number(volume->cellSizeY()));
    writer->writeAttribute(QLatin1String(kCellSizeNames[2]), number(volume->cellSizeZ()));
    writeState(*volume);
    const Util::Vector3D origin = volume->origin();
    writer->writeEmptyElement(QStringLiteral("Position"));
    writer->writeAttribute(QLatin1String(kPositionNames[0]), number(origin.x));
    writer->writeAttribute(QLatin1String(kPositionNames[1]), number(origin.y));
    writer->writeAttribute(QLatin1String(kPositionNames[2]), number(origin.z));
    {
        const Automaton::CellReadLock lock(*volume);
        writeParticleCountFields(*writer, *volume);
    }
    writer->writeEndElement();
    return !writer->hasError();
}

void TotalVolumeArchiver::writeState(Automaton::TotalVolume &volume)
{
    writer->writeStartElement(QStringLiteral("State"));
    QString chunk(int(kCellsPerChunk * kMaxCharsPerId), Qt::Uninitialized);
    const uint32_t count = volume.cellCount();
    const Automaton::CellReadLock lock(volume);
    const Automaton::Cell *cells = lock.cells();
    for (uint32_t first = 0; first < count; first += kCellsPerChunk) {
        const uint32_t last = std::min(count, first + kCellsPerChunk);
        chunk.resize(int(kCellsPerChunk * kMaxCharsPerId));
        QChar *out = chunk.data();
        for (uint32_t i = first; i < last; ++i)
            out = appendId(out, cells[i].material());
        chunk.resize(int(out - chunk.constData()));
        writer->writeCharacters(chunk);
    }
    writer->writeEndElement();
}

LiftableText TotalVolumeArchiver::liftableText() const
{
    return {QByteArrayLiteral("State"), QByteArray(kStateBytes)};
}

std::shared_ptr<Object> TotalVolumeArchiver::refuse(const QString &why)
{
    error = why;
    return nullptr;
}

std::shared_ptr<Object> TotalVolumeArchiver::read()
{
    error.clear();
    warnings.clear();
    if (!reader)
        return nullptr;
    const QXmlStreamAttributes attributes = reader->attributes();

    uint64_t sizes[3];
    for (int axis = 0; axis < 3; ++axis) {
        const QStringRef text = attributes.value(QLatin1String(kSizeNames[axis]));
        if (text.isEmpty())
            return refuse(QStringLiteral("A cell volume has no \"%1\" attribute.").arg(kSizeNames[axis]));
        bool ok = false;
        sizes[axis] = text.toULongLong(&ok);
        if (!ok)
            return refuse(QStringLiteral("The \"%1\" of a cell volume is \"%2\", which is not a cell count.")
                              .arg(kSizeNames[axis], text.toString()));
        if (sizes[axis] == 0)
            return refuse(QStringLiteral("The \"%1\" of a cell volume is 0; a volume has at least one cell "
                                         "along each axis.").arg(kSizeNames[axis]));
    }
    QString why;
    if (!Automaton::TotalVolume::sizeIsAcceptable(sizes[0], sizes[1], sizes[2], &why))
        return refuse(QStringLiteral("A cell volume of the document is too large to open. ") + why);

    float cellSizes[3];
    for (int axis = 0; axis < 3; ++axis) {
        const QStringRef text = attributes.value(QLatin1String(kCellSizeNames[axis]));
        cellSizes[axis] = kDefaultCellSize;
        if (text.isEmpty())
            continue;
        bool ok = false;
        cellSizes[axis] = text.toFloat(&ok);
        if (!ok || !std::isfinite(cellSizes[axis]) || cellSizes[axis] <= 0.0f)
            return refuse(QStringLiteral("The \"%1\" of a cell volume is \"%2\", which is not a positive length.")
                              .arg(kCellSizeNames[axis], text.toString()));
    }

    auto volume = std::make_shared<Automaton::TotalVolume>(
        uint32_t(sizes[0]), uint32_t(sizes[1]), uint32_t(sizes[2]), cellSizes[0], cellSizes[1], cellSizes[2],
        Util::Vector3D(), std::vector<uint32_t>());
    // The State counts only as the Object's first child; without one every cell is empty.
    bool atChild = reader->readNextStartElement();
    const bool hasState = atChild && reader->name() == QLatin1String("State");
    uint64_t idsRead = 0;
    uint64_t unreadable = 0;
    if (hasState) {
        bool stateRead = false;
        {
            const Automaton::CellLock lock(*volume);
            const LiftedTexts::Span *text = lifted ? lifted->text(*reader) : nullptr;
            stateRead = text ? readLiftedState(*text, lock.cells(), volume->cellCount(), idsRead, unreadable)
                             : readState(lock.cells(), volume->cellCount(), idsRead, unreadable);
        }
        if (!stateRead)
            return nullptr;
        atChild = reader->readNextStartElement();
    }
    if (reader->hasError())
        return nullptr;
    checkIdCount(*volume, hasState, idsRead);
    if (unreadable > 0)
        warnings << QStringLiteral("The \"State\" of %1 holds %2; %3.")
                        .arg(volumeName(*volume),
                             unreadable == 1 ? QStringLiteral("1 entry that is not a material id")
                                             : QStringLiteral("%1 entries that are not material ids").arg(unreadable),
                             QLatin1String(unreadable == 1 ? "its cell is left empty" : "their cells are left empty"));

    // The Position counts only when it comes next; after it may come particle count fields;
    // anything else in the Object is not ours.
    for (bool next = true; atChild; atChild = reader->readNextStartElement(), next = false) {
        if (next && reader->name() == QLatin1String("Position") && !readPosition(*volume))
            return nullptr;
        if (reader->name() == QLatin1String(kParticleCountFieldElement)) {
            if (!readParticleCountField(*reader, *volume, warnings))
                return nullptr;
            continue;
        }
        reader->skipCurrentElement();
    }
    return reader->hasError() ? nullptr : volume;
}

bool TotalVolumeArchiver::readPosition(Automaton::TotalVolume &volume)
{
    const QXmlStreamAttributes position = reader->attributes();
    double origin[3];
    for (int axis = 0; axis < 3; ++axis) {
        const QStringRef text = position.value(QLatin1String(kPositionNames[axis]));
        bool ok = true;
        origin[axis] = text.isEmpty() ? 0.0 : double(text.toFloat(&ok));
        if (!ok || !std::isfinite(origin[axis])) {
            refuse(QStringLiteral("The \"%1\" of a cell volume is \"%2\", which is not a coordinate.")
                       .arg(kPositionNames[axis], text.toString()));
            return false;
        }
    }
    volume.move(Util::Vector4D(origin[0], origin[1], origin[2], 0.0));
    return true;
}

// A State of the wrong length is read as far as it goes, and a missing one leaves every cell
// empty: the user learns of it before saving, when the volume is written whole.
QString TotalVolumeArchiver::volumeName(const Automaton::TotalVolume &volume) const
{
    const QString number = objectNumber > 0 ? QStringLiteral(" %1").arg(objectNumber) : QString();
    return QStringLiteral("cell volume%1 (%2 × %3 × %4)")
        .arg(number).arg(volume.sizeX()).arg(volume.sizeY()).arg(volume.sizeZ());
}

void TotalVolumeArchiver::checkIdCount(const Automaton::TotalVolume &volume, bool hasState, uint64_t idsRead)
{
    const uint64_t cells = volume.cellCount();
    if (hasState && idsRead == cells)
        return;
    const QString name = volumeName(volume);
    if (!hasState) {
        const QString empty = cells == 1 ? QStringLiteral("its cell is left empty.")
                                         : QStringLiteral("its %1 cells are left empty.").arg(cells);
        warnings << QStringLiteral("C%1 has no \"State\" element; ").arg(name.mid(1)) + empty;
        return;
    }
    const QString counts = QStringLiteral("The \"State\" of %1 holds %2 for its %3; ")
                               .arg(name, counted(idsRead, "material id", "material ids"),
                                    counted(cells, "cell", "cells"));
    if (idsRead < cells)
        warnings << counts + (cells - idsRead == 1 ? QStringLiteral("the last cell is left empty.")
                                                   : QStringLiteral("the last %1 cells are left empty.")
                                                         .arg(cells - idsRead));
    else
        warnings << counts + (idsRead - cells == 1 ? QStringLiteral("the last id is ignored.")
                                                   : QStringLiteral("the last %1 ids are ignored.")
                                                         .arg(idsRead - cells));
}

void TotalVolumeArchiver::translateMaterials(Object &object)
{
    auto *volume = dynamic_cast<Automaton::TotalVolume *>(&object);
    if (!volume || !idMap || idMap->isIdentity())
        return;
    IdTranslator translate(*idMap);
    const Automaton::CellLock lock(*volume);
    Automaton::Cell *cells = lock.cells();
    const uint32_t count = volume->cellCount();
    for (uint32_t i = 0; i < count; ++i)
        cells[i].setMaterial(translate(cells[i].material()));
}

// The lifted text holds digits and blanks only, so only an id's size can be wrong; the element
// itself keeps nothing but the text's line breaks, which are skipped. Nearly all of a document
// is such text: each id is taken whole in a loop of its own.
bool TotalVolumeArchiver::readLiftedState(const LiftedTexts::Span &text, Automaton::Cell *cells,
                                          uint32_t cellCount, uint64_t &idsRead, uint64_t &unreadable)
{
    const char *c = text.begin;
    const char *const end = text.end;
    uint64_t ids = 0;
    for (;;) {
        while (c != end && !isDigit(*c))
            ++c;
        if (c == end)
            break;
        uint64_t value = uint64_t(*c++ - '0');
        bool tooLarge = false;
        while (c != end && isDigit(*c)) {
            value = value * 10 + uint64_t(*c++ - '0');
            if (value > kLargestId) {
                tooLarge = true;
                value = 0;
            }
        }
        unreadable += tooLarge;
        if (ids < cellCount)
            cells[ids].setMaterial(tooLarge ? 0u : uint32_t(value));
        ++ids;
    }
    reader->skipCurrentElement();
    idsRead = ids;
    return !reader->hasError();
}

// Parses the State text in one pass over the characters the reader hands out, digits straight
// into numbers; a number may be split between two character tokens.
bool TotalVolumeArchiver::readState(Automaton::Cell *cells, uint32_t cellCount, uint64_t &idsRead,
                                    uint64_t &unreadable)
{
    StateParser parser(cells, cellCount);
    while (!reader->atEnd()) {
        switch (reader->readNext()) {
        case QXmlStreamReader::Characters: {
            const QStringRef text = reader->text();
            const QChar *c = text.unicode();
            const QChar *end = c + text.size();
            for (; c != end; ++c) {
                const ushort u = c->unicode();
                const unsigned digit = unsigned(u) - unsigned('0');
                if (digit <= 9)
                    parser.digit(digit);
                else if (isBlank(u))
                    parser.blank();
                else
                    parser.other();
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            idsRead = parser.finish();
            unreadable = parser.unreadableIds();
            return true;
        case QXmlStreamReader::StartElement:
            error = QStringLiteral("The \"State\" of a cell volume holds an element \"%1\"; only material ids "
                                   "belong there.").arg(reader->name().toString());
            return false;
        default:
            break;
        }
    }
    // The stream broke inside the State; the document reader tells where.
    return false;
}

} // namespace Persistence
} // namespace Model
