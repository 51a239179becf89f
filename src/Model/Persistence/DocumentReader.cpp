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

DocumentReader::Outcome DocumentReader::read(const QString &path)
{
    why.clear();
    notes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Outcome::NotOpened;

    DocumentSource source(file, archive.liftableTexts());
    QXmlStreamReader &reader = source.xml();
    if (!readHeader(reader))
        return Outcome::Refused;
    const ReadSoFar contents = readContents(reader, source.liftedTexts());
    if (!contents.complete) {
        why = contents.error;
        return Outcome::Refused;
    }
    for (const auto &object : contents.objects)
        scene.addObject(object);
    scene.setDocumentName(path);
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

// Materials come before the objects whose cells use them, so reconciling them as they come
// lets the objects arrive holding catalogue ids.
DocumentReader::ReadSoFar DocumentReader::readContents(QXmlStreamReader &reader, const LiftedTexts *lifted)
{
    ReadSoFar read;
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("Material"))
            readMaterial(reader);
        else if (reader.name() == QLatin1String("Object") && !readObject(reader, lifted, read))
            return read;
    }
    if (reader.hasError()) {
        read.complete = false;
        read.error = QStringLiteral("The document is damaged near line %1: %2.")
                         .arg(reader.lineNumber())
                         .arg(reader.errorString());
    }
    return read;
}

void DocumentReader::readMaterial(QXmlStreamReader &reader)
{
    Materials::Material material;
    if (Materials::readMaterialElement(reader, material))
        reconcileMaterial(material, MaterialIdMap::instance());
    else
        notes << QLatin1String(kMaterialWarning);
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

// Appends the object the reader stands on to `read`; an object of a type without archiver is
// skipped. False when the archiver could not read it.
bool DocumentReader::readObject(QXmlStreamReader &reader, const LiftedTexts *lifted, ReadSoFar &read)
{
    bool typeOk = false;
    const uint32_t type = reader.attributes().value(QLatin1String("object-type")).toUInt(&typeOk);
    const auto archiver = typeOk ? archive.archiver(type) : nullptr;
    if (!archiver) {
        reader.skipCurrentElement();
        return true;
    }
    archiver->setReader(&reader);
    archiver->setMaterialIdMap(&MaterialIdMap::instance());
    archiver->setLiftedTexts(lifted);
    const auto object = archiver->read();
    archiver->setLiftedTexts(nullptr);
    archiver->setReader(nullptr);
    if (!object) {
        read.complete = false;
        read.error = archiver->readError();
        return false;
    }
    read.objects << object;
    return true;
}

} // namespace Persistence
} // namespace Model
