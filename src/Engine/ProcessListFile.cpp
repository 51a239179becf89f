#include "ProcessListFile.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Materials/MaterialXml.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "Engine/ProcessValueCodec.h"

#include <QColor>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Engine {

namespace {

const QString kRootElement = QStringLiteral("Process-List");
const QString kMaterialsElement = QStringLiteral("Materials");
const QString kMaterialElement = QStringLiteral("Material");
const QString kStepElement = QStringLiteral("Process-Data");
const QString kParameterElement = QStringLiteral("Parameter");
const QString kVersionAttribute = QStringLiteral("version");
const QString kTypeAttribute = QStringLiteral("process-type");
const QString kNameAttribute = QStringLiteral("parameter-name");
const QString kValueTypeAttribute = QStringLiteral("parameter-type");
const QString kDataAttribute = QStringLiteral("parameter-data");
const QString kVisibilityAttribute = QStringLiteral("parameter-visibility");
const QString kCurrentVersion = QStringLiteral("1");
// Lists before this version name their material ids without the "_Id" convention.
constexpr int kFirstMaterialSuffixVersion = 1;

// Advances to the next start element; false when the stream ended (or broke) first.
bool nextStartElement(QXmlStreamReader &reader)
{
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            return true;
    }
    return false;
}

// The reader stands on "Materials": every "Material" in it is reconciled with the catalogue
// into `ids`; a material that cannot be read is skipped. Stops at the end of "Materials".
void reconcileMaterials(QXmlStreamReader &reader, QMap<uint32_t, uint32_t> &ids)
{
    Model::Persistence::MaterialIdMap map;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == kMaterialsElement)
            break;
        if (!reader.isStartElement() || reader.name() != kMaterialElement)
            continue;
        Model::Materials::Material material;
        if (Model::Materials::readMaterialElement(reader, material))
            Model::Persistence::DocumentReader::reconcileMaterial(material, map);
    }
    for (const auto &entry : map.entries())
        ids.insert(entry.first, entry.second);
}

// The reader stands on "Process-Data". Leaves it on the first start element after the step's
// parameters (or at the end of the stream); returns whether there is one.
bool readStep(QXmlStreamReader &reader, QList<ProcessData> &steps)
{
    ProcessData step(uint32_t(reader.attributes().value(kTypeAttribute).toInt()));
    bool more = nextStartElement(reader);
    while (more && reader.name() == kParameterElement) {
        const QXmlStreamAttributes attributes = reader.attributes();
        const QString name = attributes.value(kNameAttribute).toString();
        const QVariant value = decodeProcessValue(attributes.value(kValueTypeAttribute).toString(),
                                                  attributes.value(kDataAttribute).toString());
        const QStringRef visibility = attributes.value(kVisibilityAttribute);
        step.addProcessParameter(name, value, visibility.isEmpty() || visibility == QLatin1String("true"));
        more = nextStartElement(reader);
    }
    steps.append(step);
    return more;
}

// The old names of material ids, by type code, and their names since version 1.
QList<QPair<QString, QString>> renamedIds(uint32_t type)
{
    using namespace Parameters;
    switch (type) {
    case PhotolithographyType:
    case MooreDepositionType:
    case MooreEtchingType:
    case CvdType:
    case IsotropicEtchingType:
    case SpinCoatingType:
    case CreateSubstrateType:
    case PvdType:
    case SimpleRieType:
    case IsotropicDepositionType:
    case AnisotropicDepositionType:
    case AnisotropicEtchingType:
        return {{Old::kMaterialId, idOf(kMaterial)}};
    case ElectroplatingType:
        return {{Old::kConductingMaterialId, idOf(kConductingMaterial)},
                {Old::kDepositedMaterialId, idOf(kDepositedMaterial)}};
    case DopingType:
    case IonImplantationType:
        return {{Old::kDopedMaterialId, idOf(kDopedMaterial)}};
    default:
        return {};
    }
}

// Rebuilds every step of an old-format list with the current id names; true when at least one
// parameter was renamed (the list is then replaced).
bool upgradeOldFormat(QList<ProcessData> &steps)
{
    QList<ProcessData> rebuilt;
    bool renamedAny = false;
    for (const ProcessData &old : steps) {
        const auto renames = renamedIds(old.processType());
        ProcessData step(old.processType());
        step.setExpanded(old.isExpanded());
        for (auto it = old.parameters().constBegin(); it != old.parameters().constEnd(); ++it) {
            QString name = it.key();
            for (const auto &rename : renames)
                if (name == rename.first) {
                    name = rename.second;
                    renamedAny = true;
                }
            step.addProcessParameter(name, it.value(), old.visibility().value(it.key(), false));
        }
        rebuilt.append(step);
    }
    if (renamedAny)
        steps = rebuilt;
    return renamedAny;
}

// The doping steps show their material id in the list view; the others keep it
// hidden.
bool showsMaterialId(uint32_t type)
{
    return type == DopingType || type == IonImplantationType || type == RandomWalkDopingType;
}

// Every "<base>_Id" parameter gets the catalogue id of the file's id (0 when the file's
// "Materials" did not list it), and "<base>" and "<base>_Color" that material's name and colour.
// An id that is not a number is left for the step runner to refuse.
void translateMaterialIds(QList<ProcessData> &steps, const QMap<uint32_t, uint32_t> &ids)
{
    auto catalogue = Model::Materials::MaterialFactory::instance();
    for (ProcessData &step : steps) {
        const QStringList names = step.parameters().keys();
        for (const QString &name : names) {
            if (!Parameters::isMaterialId(name))
                continue;
            bool ok = false;
            const uint32_t fileId = step.parameters().value(name).toUInt(&ok);
            if (!ok)
                continue;
            const uint32_t id = ids.value(fileId, 0);
            const Model::Materials::Material material = catalogue->material(id);
            const QString base = Parameters::baseOfId(name);
            step.addProcessParameter(name, id, showsMaterialId(step.processType()));
            step.addProcessParameter(base, material.name(), true);
            step.addProcessParameter(Parameters::colorOf(base), material.toQColor(), false);
        }
    }
}

} // namespace

bool ProcessListFile::write(const QString &path, const QList<ProcessData> &list)
{
    registerProcessValueTypes();
    // Written beside the target and renamed over it only when whole: a failed or interrupted
    // save leaves the previous list as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(kRootElement);
    writer.writeAttribute(kVersionAttribute, kCurrentVersion);

    writer.writeStartElement(kMaterialsElement);
    for (const auto &material : Model::Materials::MaterialFactory::instance()->materials())
        Model::Materials::writeMaterialElement(writer, material);
    writer.writeEndElement();

    for (const ProcessData &step : list) {
        writer.writeStartElement(kStepElement);
        writer.writeAttribute(kTypeAttribute, QString::number(step.processType()));
        for (auto it = step.parameters().constBegin(); it != step.parameters().constEnd(); ++it) {
            const EncodedValue encoded = encodeProcessValue(it.value());
            writer.writeEmptyElement(kParameterElement);
            writer.writeAttribute(kNameAttribute, it.key());
            writer.writeAttribute(kValueTypeAttribute, encoded.typeName);
            writer.writeAttribute(kDataAttribute, encoded.data);
            writer.writeAttribute(kVisibilityAttribute,
                                  step.visibility().value(it.key(), false) ? QStringLiteral("true")
                                                                           : QStringLiteral("false"));
        }
        writer.writeEndElement();
    }

    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool ProcessListFile::read(const QString &path, QList<ProcessData> &list)
{
    registerProcessValueTypes();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QXmlStreamReader reader(&file);

    bool found = false;
    while (!found && nextStartElement(reader))
        found = reader.name() == kRootElement;
    if (!found)
        return false;
    const int version = reader.attributes().value(kVersionAttribute).toInt();

    QMap<uint32_t, uint32_t> ids;
    QList<ProcessData> steps;
    bool more = nextStartElement(reader);
    if (more && reader.name() == kMaterialsElement) {
        reconcileMaterials(reader, ids);
        more = nextStartElement(reader);
    }
    while (more) {
        if (reader.name() == kStepElement)
            more = readStep(reader, steps);
        else
            more = nextStartElement(reader);
    }
    if (reader.hasError())
        return false;

    fileVersion = version;
    materialIds = ids;
    if (version < kFirstMaterialSuffixVersion && upgradeOldFormat(steps) && warn)
        warn(QString::fromLatin1(kUpdatedListTitle), QString::fromLatin1(kUpdatedListText));
    translateMaterialIds(steps, ids);
    list = steps;
    return true;
}

} // namespace Engine
