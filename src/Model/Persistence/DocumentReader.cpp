#include "DocumentReader.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Materials/MaterialXml.h"
#include "Model/Object.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentSource.h"
#include "Model/Persistence/MaterialConflict.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Model/Persistence/ObjectArchiver.h"
#include "Model/Scene.h"

#include <QFile>
#include <QXmlStreamReader>

namespace Model {
namespace Persistence {

namespace {

// The XML reader's own texts may or may not end in a full stop; this gives them exactly one.
QString asSentence(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text.isEmpty())
        text = QStringLiteral("The XML is not well-formed");
    return text + QLatin1Char('.');
}

} // namespace

DocumentReader::Outcome DocumentReader::read(const QString &path)
{
    why.clear();
    notes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Outcome::NotOpened;

    DocumentSource source(file, archive.liftableTexts());
    QXmlStreamReader &reader = source.xml();
    Contents contents;
    if (!readHeader(reader) || !readContents(reader, source.liftedTexts(), contents)) {
        notes.clear();
        return Outcome::Refused;
    }
    accept(contents, path);
    return Outcome::Read;
}

bool DocumentReader::readHeader(QXmlStreamReader &reader)
{
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("Document")) {
        why = QStringLiteral("The file is not a Voxfab document: it does not begin with a \"Document\" element.");
        return false;
    }
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("Header")) {
        why = QStringLiteral("The document has no \"Header\" element.");
        return false;
    }
    // Every version is accepted; nothing depends on it yet.
    return true;
}

// The reader stands on the Header inside the Document: two elements are open. Reading ends
// where the Document closes, whatever follows it, or where the XML breaks. Elements other than
// materials and objects are passed through, their children read by the same loop. False, with
// `why` set, when an object makes the document unreadable.
bool DocumentReader::readContents(QXmlStreamReader &reader, const LiftedTexts *lifted, Contents &contents)
{
    int openElements = 2;
    while (openElements > 0 && !reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) {
            --openElements;
        } else if (!reader.isStartElement()) {
            continue;
        } else if (reader.name() == QLatin1String("Object")) {
            // The archiver reads the Object through its end tag.
            if (readObject(reader, lifted, contents) == ObjectOutcome::Refused)
                return false;
        } else {
            ++openElements;
            if (reader.name() == QLatin1String("Material"))
                readMaterial(reader, contents);
        }
    }
    if (reader.hasError())
        warnOfDamage(reader, contents.objects.size());
    return true;
}

void DocumentReader::readMaterial(const QXmlStreamReader &reader, Contents &contents)
{
    Materials::Material material;
    if (Materials::readMaterialElement(reader, material))
        contents.materials.push_back(material);
    else
        notes << QLatin1String(kMaterialWarning);
}

// An object the XML breaks in is dropped with the rest of the document.
DocumentReader::ObjectOutcome DocumentReader::readObject(QXmlStreamReader &reader, const LiftedTexts *lifted,
                                                         Contents &contents)
{
    bool typeOk = false;
    const uint32_t type = reader.attributes().value(QLatin1String("object-type")).toUInt(&typeOk);
    const auto archiver = typeOk ? archive.archiver(type) : nullptr;
    if (!archiver) {
        reader.skipCurrentElement();
        return reader.hasError() ? ObjectOutcome::Damaged : ObjectOutcome::Skipped;
    }
    archiver->setReader(&reader);
    archiver->setLiftedTexts(lifted);
    archiver->setObjectNumber(int(contents.objects.size()) + 1);
    const auto object = archiver->read();
    archiver->setLiftedTexts(nullptr);
    archiver->setReader(nullptr);
    if (reader.hasError())
        return ObjectOutcome::Damaged;
    if (!object) {
        why = archiver->readError();
        if (why.isEmpty())
            why = QStringLiteral("An object of type %1 could not be read.").arg(type);
        return ObjectOutcome::Refused;
    }
    for (const QString &warning : archiver->readWarnings())
        notes << QLatin1String(kWarningPrefix) + warning;
    contents.objects.push_back({object, archiver});
    return ObjectOutcome::Read;
}

void DocumentReader::warnOfDamage(const QXmlStreamReader &reader, size_t objectsRead)
{
    const QString stopped = objectsRead == 0 ? QStringLiteral("Reading stopped there, before any object.")
                            : objectsRead == 1
                                ? QStringLiteral("Reading stopped there, after 1 object.")
                                : QStringLiteral("Reading stopped there, after %1 objects.").arg(objectsRead);
    notes << QLatin1String(kWarningPrefix)
                 + QStringLiteral("The document is damaged near line %1: %2 %3")
                       .arg(reader.lineNumber())
                       .arg(asSentence(reader.errorString()), stopped);
}

// Only an accepted document touches the catalogue and the id map: its materials in document
// order, then its objects' cells translated by the entries its own materials settled. An id the
// document does not list is taken as a catalogue id: an entry some earlier document left for
// the same number says nothing about this one, and following it would recolour cells silently.
// The settled entries are then remembered in the process-wide map.
void DocumentReader::accept(const Contents &contents, const QString &path)
{
    MaterialIdMap documentMap;
    for (const Materials::Material &material : contents.materials)
        reconcileMaterial(material, documentMap);
    for (const ReadObject &entry : contents.objects) {
        entry.archiver->setMaterialIdMap(&documentMap);
        entry.archiver->translateMaterials(*entry.object);
        scene.addObject(entry.object);
    }
    MaterialIdMap &remembered = MaterialIdMap::instance();
    for (const auto &settled : documentMap.entries())
        remembered.set(settled.first, settled.second);
    scene.setDocumentName(path);
}

void DocumentReader::reconcileMaterial(const Materials::Material &loaded, MaterialIdMap &map)
{
    auto catalogue = Materials::MaterialFactory::instance();
    const Materials::Material byId = catalogue->material(loaded.materialId());
    const Materials::Material byName = catalogue->materialByName(loaded.name());
    if (byId.materialId() == 0 && byName.materialId() == 0) {
        catalogue->setMaterial(loaded);
        map.set(loaded.materialId(), loaded.materialId());
    } else if (byId.materialId() == 0) {
        map.set(loaded.materialId(), byName.materialId());
    } else if (byId.name() == loaded.name()) {
        map.set(loaded.materialId(), byId.materialId());
    } else if (!MaterialConflict::instance().ask(byId, loaded, map)) {
        MaterialConflict::addAsNew(loaded, map);
    }
}

} // namespace Persistence
} // namespace Model
