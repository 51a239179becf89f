#include "FuzzTargets.h"

#include "Core/ApplicationModel.h"
#include "Engine/ProcessListFile.h"
#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Catalogues.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Model/Process/ProcessFactory.h"
#include "Model/Scene.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace Fuzz {

namespace {

using Model::Materials::MaterialFactory;
using Model::Process::ProcessFactory;

// Read-back checks write the accepted document again; past this size they would dominate.
constexpr uint64_t kLargestRoundTripCells = 1u << 20;

QString scratchPath(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString catalogueFile(const char *name)
{
    QDir().mkpath(QDir::home().filePath(QLatin1String(Model::kCatalogueFolderName)));
    return QDir::home().filePath(QLatin1String(Model::kCatalogueFolderName) + QLatin1Char('/') + QLatin1String(name));
}

Model::Persistence::DocumentArchive &archive()
{
    // One archive (and one pair of scratch files) for the whole run.
    static Model::Persistence::DocumentArchive shared;
    return shared;
}

std::vector<std::vector<uint32_t>> volumesOf(Model::Scene &scene, QString *broken)
{
    std::vector<std::vector<uint32_t>> volumes;
    for (const auto &object : scene.objects()) {
        auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (!volume) {
            *broken = QStringLiteral("an object that is not a cell volume");
            continue;
        }
        const uint64_t cells = uint64_t(volume->sizeX()) * volume->sizeY() * volume->sizeZ();
        if (cells == 0 || !Model::Automaton::TotalVolume::sizeIsAcceptable(volume->sizeX(), volume->sizeY(),
                                                                            volume->sizeZ())) {
            *broken = QStringLiteral("a volume of unacceptable size was accepted");
            continue;
        }
        if (!(volume->cellSizeX() > 0.f && volume->cellSizeY() > 0.f && volume->cellSizeZ() > 0.f))
            *broken = QStringLiteral("a volume with a cell length that is not positive");
        std::vector<uint32_t> materials;
        if (cells <= kLargestRoundTripCells) {
            const Model::Automaton::CellLock lock(*volume);
            for (uint32_t i = 0; i < volume->cellCount(); ++i)
                materials.push_back(lock.cells()[i].material());
        }
        volumes.push_back(std::move(materials));
    }
    return volumes;
}

Verdict readDocument(const QByteArray &bytes)
{
    using Model::Persistence::DocumentReader;
    Verdict verdict;
    const QString path = scratchPath(QStringLiteral("input.vxf"));
    if (!writeBytes(path, bytes))
        return {false, QStringLiteral("the scratch file could not be written")};
    Model::Scene scene;
    DocumentReader reader(scene, archive());
    const auto catalogue = MaterialFactory::instance()->materials();
    const auto ids = Model::Persistence::MaterialIdMap::instance().entries();
    const DocumentReader::Outcome outcome = reader.read(path);
    if (outcome == DocumentReader::Outcome::NotOpened) {
        verdict.broken = QStringLiteral("a readable file was reported as not opened");
    } else if (outcome == DocumentReader::Outcome::Refused) {
        if (reader.error().isEmpty())
            verdict.broken = QStringLiteral("refused without a reason");
        if (!scene.objects().isEmpty())
            verdict.broken = QStringLiteral("a refused document left objects in the scene");
        if (MaterialFactory::instance()->materials() != catalogue)
            verdict.broken = QStringLiteral("a refused document changed the catalogue");
        if (Model::Persistence::MaterialIdMap::instance().entries() != ids)
            verdict.broken = QStringLiteral("a refused document changed the material id map");
    } else {
        verdict.accepted = true;
        const auto volumes = volumesOf(scene, &verdict.broken);
        // What was accepted must survive a save and a second read unchanged.
        const QString again = scratchPath(QStringLiteral("again.vxf"));
        Model::Persistence::DocumentWriter writer(scene, archive());
        if (writer.write(again) != Model::Persistence::DocumentWriter::Outcome::Written) {
            verdict.broken = QStringLiteral("an accepted document could not be written back");
        } else {
            Model::Scene reread;
            DocumentReader second(reread, archive());
            if (second.read(again) != DocumentReader::Outcome::Read)
                verdict.broken = QStringLiteral("the written-back document was refused: ") + second.error();
            else if (volumesOf(reread, &verdict.broken) != volumes)
                verdict.broken = QStringLiteral("the written-back document reads as other cells");
        }
    }
    MaterialFactory::instance()->createDefaultMaterials();
    return verdict;
}

Verdict readProcessList(const QByteArray &bytes)
{
    Verdict verdict;
    const QString path = scratchPath(QStringLiteral("input.plst"));
    if (!writeBytes(path, bytes))
        return {false, QStringLiteral("the scratch file could not be written")};
    Engine::ProcessListFile file;
    file.setWarning([](const QString &, const QString &) {});
    QList<Engine::ProcessData> steps;
    verdict.accepted = file.read(path, steps);
    if (verdict.accepted) {
        const QString again = scratchPath(QStringLiteral("again.plst"));
        QList<Engine::ProcessData> reread;
        if (!file.write(again, steps))
            verdict.broken = QStringLiteral("an accepted list could not be written back");
        else if (!file.read(again, reread) || reread.size() != steps.size())
            verdict.broken = QStringLiteral("the written-back list reads as another list");
    } else if (!steps.isEmpty()) {
        verdict.broken = QStringLiteral("a refused list changed the steps");
    }
    MaterialFactory::instance()->createDefaultMaterials();
    return verdict;
}

Verdict readMaterialCatalogue(const QByteArray &bytes)
{
    Verdict verdict;
    if (!writeBytes(catalogueFile(MaterialFactory::kFileName), bytes))
        return {false, QStringLiteral("the scratch file could not be written")};
    auto catalogue = MaterialFactory::instance();
    verdict.accepted = catalogue->loadMaterials();
    for (const auto &material : catalogue->materials())
        if (material.materialId() == 0 || material.name().isEmpty())
            verdict.broken = QStringLiteral("an entry with id 0 or without a name was kept");
    catalogue->createDefaultMaterials();
    return verdict;
}

Verdict readProcessCatalogue(const QByteArray &bytes)
{
    Verdict verdict;
    if (!writeBytes(catalogueFile(ProcessFactory::kFileName), bytes))
        return {false, QStringLiteral("the scratch file could not be written")};
    auto catalogue = ProcessFactory::instance();
    verdict.accepted = catalogue->loadProcesses();
    if (verdict.accepted)
        catalogue->mergeDefaultProcesses();
    for (const auto &process : catalogue->processes())
        if (process.processId() == 0 || process.name().isEmpty())
            verdict.broken = QStringLiteral("an entry with id 0 or without a name was kept");
    catalogue->createDefaultProcesses();
    return verdict;
}

} // namespace

const char *readerName(Reader reader)
{
    switch (reader) {
    case Reader::Document:
        return "document";
    case Reader::ProcessList:
        return "process-list";
    case Reader::MaterialCatalogue:
        return "materials";
    case Reader::ProcessCatalogue:
        return "processes";
    }
    return "unknown";
}

Verdict feed(Reader reader, const QByteArray &bytes)
{
    switch (reader) {
    case Reader::Document:
        return readDocument(bytes);
    case Reader::ProcessList:
        return readProcessList(bytes);
    case Reader::MaterialCatalogue:
        return readMaterialCatalogue(bytes);
    case Reader::ProcessCatalogue:
        return readProcessCatalogue(bytes);
    }
    return {};
}

} // namespace Fuzz
