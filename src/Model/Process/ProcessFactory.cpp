#include "ProcessFactory.h"

#include "Model/Catalogues.h"

#include <QDebug>
#include <QFile>
#include <QMutexLocker>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Model {
namespace Process {

namespace {

const QLatin1Char kListSeparator(';');

// first, first + 1, ..., last
std::vector<uint32_t> idRange(uint32_t first, uint32_t last)
{
    std::vector<uint32_t> ids;
    for (uint32_t id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

std::vector<uint32_t> join(std::vector<uint32_t> head, const std::vector<uint32_t> &tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::map<uint32_t, Process> defaultProcesses()
{
    const std::vector<uint32_t> siliconFamily = {1, 14, 15, 16};
    const std::vector<Process> table = {
        {QStringLiteral("Si Wet Etching"), 1, {1}},
        {QStringLiteral("DRIE"), 2, {1}},
        {QStringLiteral("CVD"), 3, {3, 16}},
        {QStringLiteral("PVD"), 4, idRange(4, 10)},
        {QStringLiteral("Film Etching"), 5, idRange(3, 13)},
        {QStringLiteral("Photolithography"), 6, idRange(3, 13)},
        {QStringLiteral("Planarization"), 7, {}},
        {QStringLiteral("Spin Coating / Soft Lithography"), 8, {11, 12, 13}},
        {QStringLiteral("Isotropic Deposition"), 9, idRange(3, 10)},
        {QStringLiteral("Isotropic Etching"), 10, join({1}, idRange(3, 13))},
        {QStringLiteral("Electroplating"), 11, idRange(4, 10)},
        {QStringLiteral("Simple Si Oxidation"), 12, siliconFamily},
        {QStringLiteral("Simple Doping"), 13, siliconFamily},
        {QStringLiteral("Ion Implantation"), 14, siliconFamily},
        {QStringLiteral("Ion Implantation"), 15, siliconFamily},
        {QStringLiteral("Anisotropic Deposition"), 16, join({1}, idRange(3, 16))},
        {QStringLiteral("Anisotropic Etching"), 17, join({1}, idRange(3, 16))},
        {QStringLiteral("Isotropic Deposition"), 18, join({1}, idRange(3, 16))},
    };
    std::map<uint32_t, Process> processes;
    for (const Process &process : table)
        processes[process.processId()] = process;
    return processes;
}

std::vector<uint32_t> parseIdList(const QString &text)
{
    std::vector<uint32_t> ids;
    for (const QString &piece : text.split(kListSeparator, Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint32_t id = piece.trimmed().toUInt(&ok);
        if (ok && id != 0)
            ids.push_back(id);
    }
    return ids;
}

QString idListText(const std::vector<uint32_t> &ids)
{
    QStringList pieces;
    for (uint32_t id : ids)
        pieces << QString::number(id);
    return pieces.join(kListSeparator);
}

// Reads the "Process" element the reader stands on, with its "CompatibleMaterials" child.
// False for other elements and for entries without an id or a name. A process without the
// child element has no compatible materials.
bool readProcess(QXmlStreamReader &reader, Process &process)
{
    if (reader.name() != QLatin1String("Process"))
        return false;
    const QXmlStreamAttributes attributes = reader.attributes();
    process = Process(attributes.value(QLatin1String("name")).toString(),
                      attributes.value(QLatin1String("process-id")).toUInt());
    if (process.processId() == 0 || process.name().isEmpty())
        return false;
    if (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("CompatibleMaterials"))
            process.setCompatibleMaterials(parseIdList(reader.readElementText()));
        else
            reader.skipCurrentElement();
    }
    return true;
}

void writeProcess(QXmlStreamWriter &writer, const Process &process)
{
    writer.writeStartElement(QStringLiteral("Process"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    writer.writeAttribute(QStringLiteral("name"), process.name());
    writer.writeAttribute(QStringLiteral("process-id"), QString::number(process.processId()));
    writer.writeTextElement(QStringLiteral("CompatibleMaterials"), idListText(process.compatibleMaterials()));
    writer.writeEndElement();
}

} // namespace

std::shared_ptr<ProcessFactory> ProcessFactory::instance()
{
    static const std::shared_ptr<ProcessFactory> factory(new ProcessFactory);
    return factory;
}

Process ProcessFactory::process(uint32_t id)
{
    QMutexLocker locker(&mutex);
    const auto found = catalogue.find(id);
    return found == catalogue.end() ? Process() : found->second;
}

std::vector<Process> ProcessFactory::processes()
{
    QMutexLocker locker(&mutex);
    std::vector<Process> list;
    list.reserve(catalogue.size());
    for (const auto &entry : catalogue)
        list.push_back(entry.second);
    return list;
}

bool ProcessFactory::setProcess(const Process &process)
{
    if (process.processId() == 0)
        return false;
    QMutexLocker locker(&mutex);
    catalogue[process.processId()] = process;
    return true;
}

bool ProcessFactory::loadProcesses()
{
    QMutexLocker locker(&mutex);
    return readCatalogueFile(
        QLatin1String(kFileName), "Processes",
        [this] { catalogue.clear(); }, // the file, not what was there before, is the catalogue
        [this](QXmlStreamReader &reader) {
            Process process;
            if (readProcess(reader, process))
                catalogue[process.processId()] = process;
        },
        Q_FUNC_INFO);
}

bool ProcessFactory::saveProcesses()
{
    QMutexLocker locker(&mutex);
    return writeCatalogueFile(
        QLatin1String(kFileName), "Processes",
        [this](QXmlStreamWriter &writer) {
            for (const auto &entry : catalogue)
                writeProcess(writer, entry.second);
        },
        Q_FUNC_INFO);
}

void ProcessFactory::createDefaultProcesses()
{
    QMutexLocker locker(&mutex);
    catalogue = defaultProcesses();
}

void ProcessFactory::mergeDefaultProcesses()
{
    // The defaults are built outside the catalogue so that loaded entries are never touched.
    const std::map<uint32_t, Process> defaults = defaultProcesses();
    QMutexLocker locker(&mutex);
    for (const auto &entry : defaults)
        catalogue.emplace(entry.first, entry.second);
}

} // namespace Process
} // namespace Model
