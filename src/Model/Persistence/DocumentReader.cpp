#include "DocumentReader.h"

#include "Model/Materials/MaterialXml.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Object.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/MaterialConflict.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Model/Persistence/ObjectArchiver.h"
#include "Model/Persistence/TotalVolumeArchiver.h"
#include "Model/Scene.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QXmlStreamReader>

namespace Model {
namespace Persistence {

namespace {
// Bytes: well within the 2 GiB a byte array can hold.
constexpr qint64 kLargestLiftedDocument = qint64(1) << 30;
} // namespace

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

DocumentReader::Outcome DocumentReader::read(const QString &path)
{
    why.clear();
    notes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Outcome::NotOpened;

    auto refuse = [this](const QString &text) {
        why = text;
        return Outcome::Refused;
    };
    // Reading the whole file first lets the cell ids bypass the XML tokenizer (see
    // TotalVolumeArchiver::liftStates); the device's text mode still applies to every byte.
    // Only the volume archiver knows lifted texts; another one registered for volumes, or a
    // file too large for one byte array, gets the document streamed as it stands.
    TotalVolumeArchiver::LiftedStates lifted;
    QBuffer structure;
    QXmlStreamReader reader;
    const bool volumesLift =
        dynamic_cast<TotalVolumeArchiver *>(archive.archiver(TotalVolumeArchiver::kObjectType).get()) != nullptr;
    if (volumesLift && file.size() <= kLargestLiftedDocument) {
        lifted = TotalVolumeArchiver::liftStates(file.readAll());
        structure.setData(lifted.structure);
        structure.open(QIODevice::ReadOnly);
        reader.setDevice(&structure);
    } else {
        reader.setDevice(&file);
    }
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("Document"))
        return refuse(QStringLiteral("The file is not a Voxfab document: it does not begin with a "
                                     "\"Document\" element."));
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("Header"))
        return refuse(QStringLiteral("The document has no \"Header\" element."));
    // Every version is accepted; nothing depends on it yet.

    MaterialIdMap &map = MaterialIdMap::instance();
    QList<std::shared_ptr<Object>> objects;
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("Material")) {
            Materials::Material material;
            if (Materials::readMaterialElement(reader, material))
                reconcileMaterial(material, map);
            else
                notes << QLatin1String(kMaterialWarning);
        } else if (reader.name() == QLatin1String("Object")) {
            bool typeOk = false;
            const uint32_t type = reader.attributes().value(QLatin1String("object-type")).toUInt(&typeOk);
            const auto archiver = typeOk ? archive.archiver(type) : nullptr;
            if (!archiver) {
                reader.skipCurrentElement();
                continue;
            }
            auto *volumes = dynamic_cast<TotalVolumeArchiver *>(archiver.get());
            if (volumes && !lifted.texts.empty())
                volumes->setLiftedStates(&lifted);
            archiver->setReader(&reader);
            archiver->setMaterialIdMap(&map);
            auto object = archiver->read();
            archiver->setReader(nullptr);
            if (volumes)
                volumes->setLiftedStates(nullptr);
            if (!object)
                return refuse(archiver->readError());
            objects << object;
        }
    }
    if (reader.hasError())
        return refuse(QStringLiteral("The document is damaged near line %1: %2.")
                          .arg(reader.lineNumber())
                          .arg(reader.errorString()));

    for (const auto &object : objects)
        scene.addObject(object);
    scene.setDocumentName(path);
    return Outcome::Read;
}

} // namespace Persistence
} // namespace Model
