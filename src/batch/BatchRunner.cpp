#include "BatchRunner.h"

#include "ProgressLine.h"

#include "Core/Operations/ExportData/CSVDataExporter.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Export/StlWriter.h"
#include "Model/Export/VtkImageWriter.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/ModelExtraction/CantileverExtraction.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Engine/ProcessListFile.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessListRun.h"
#include "Engine/ProcessTypes.h"
#include "Engine/StepRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>
#include <cstdio>

namespace Batch {

namespace {

const char *const kMissingVolumeTitle = "Missing Cell Volume";
const char *const kMissingVolumeText = "No cell volume was selected and a cell volume was not created. "
                                       "The cell volume must be created before any other process.";

QString stepLine(int index, const Engine::ProcessData &step, const QString &text)
{
    return QStringLiteral("Step %1: %2: %3").arg(index + 1).arg(Engine::processName(step.processType()), text);
}

// Why a file that the reader refused could not be read, as far as the file system tells.
QString unreadableReason(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("there is no such file");
    if (file.isDir())
        return QStringLiteral("it is a folder");
    if (!file.isReadable())
        return QStringLiteral("it cannot be read (permission denied)");
    return QString();
}

} // namespace

BatchRunner::BatchRunner(BatchOptions options) : options(std::move(options)) {}

BatchRunner::~BatchRunner() = default;

void BatchRunner::report(const QString &text)
{
    const QString line = QStringLiteral("voxfab-batch: ") + text;
    if (progress) {
        progress->print(stderr, line);
    } else {
        std::fputs(line.toLocal8Bit().constData(), stderr);
        std::fputc('\n', stderr);
    }
}

int BatchRunner::run()
{
    if (options.threads > 0)
        QThreadPool::globalInstance()->setMaxThreadCount(options.threads);
    if (!checkOutputPath() || !readDocument() || !readList())
        return InputRefused;
    const bool succeeded = runSteps();
    const bool written = writeDocument();
    const bool netlist = options.netlistPath.isEmpty() || writeNetlist();
    const bool volumeFiles = writeVolumeFiles();
    const int exported
        = options.exportDataPath.isEmpty() || !succeeded || !written ? AllStepsSucceeded : exportData();
    if (!succeeded || !written || !netlist || !volumeFiles)
        return StepFailed;
    return exported;
}

// Refused before any step runs, so that a long run does not end with nowhere to write.
bool BatchRunner::checkOutputPath()
{
    return checkWritablePath(options.outputPath, "a document")
           && (options.exportDataPath.isEmpty() || checkWritablePath(options.exportDataPath, "a data file"))
           && (options.vtkPath.isEmpty() || checkWritablePath(options.vtkPath, "a VTK file"))
           && (options.stlPath.isEmpty() || checkWritablePath(options.stlPath, "an STL file"))
           && (options.imagePath.isEmpty() || checkWritablePath(options.imagePath, "an image"));
}

bool BatchRunner::checkWritablePath(const QString &path, const char *what)
{
    const QFileInfo output(path);
    if (output.isDir()) {
        report(QStringLiteral("The output %1 is a folder; give the name of %2 to write.").arg(path, QLatin1String(what)));
        return false;
    }
    if (!output.absoluteDir().exists()) {
        report(QStringLiteral("The folder of the output %1 does not exist.").arg(path));
        return false;
    }
    return true;
}

bool BatchRunner::readDocument()
{
    if (options.documentPath.isEmpty())
        return true;
    using Model::Persistence::DocumentReader;
    DocumentReader reader(model.scene(), model.documentArchive());
    const DocumentReader::Outcome outcome = reader.read(options.documentPath);
    for (const QString &warning : reader.warnings())
        report(warning);
    switch (outcome) {
    case DocumentReader::Outcome::Read:
        return true;
    case DocumentReader::Outcome::NotOpened: {
        const QString why = unreadableReason(options.documentPath);
        report(QStringLiteral("Cannot open the document %1: %2.")
                   .arg(options.documentPath, why.isEmpty() ? QStringLiteral("it cannot be opened") : why));
        return false;
    }
    case DocumentReader::Outcome::Refused:
        report(QStringLiteral("%1: %2: %3")
                   .arg(QLatin1String(DocumentReader::kErrorTitle), options.documentPath, reader.error()));
        return false;
    }
    return false;
}

bool BatchRunner::readList()
{
    Engine::ProcessListFile file;
    file.setWarning([this](const QString &title, const QString &text) { report(title + QStringLiteral(": ") + text); });
    if (file.read(options.listPath, steps)) {
        warnOfUnknownMaterials();
        return true;
    }
    const QString why = unreadableReason(options.listPath);
    report(QStringLiteral("Cannot read the process list %1: %2.")
               .arg(options.listPath, why.isEmpty() ? QStringLiteral("it is not a well-formed process list "
                                                                     "(a \"Process-List\" XML file)")
                                                    : why));
    return false;
}

// A material id that the catalogue does not hold (the list's "Materials" did not name it, or it
// named an id the catalogue lacks) makes the step run with no material: a substrate of nothing, a
// deposition that deposits nothing. The step still runs, as in the dialog, but not unannounced.
void BatchRunner::warnOfUnknownMaterials()
{
    auto catalogue = Model::Materials::MaterialFactory::instance();
    for (int index = 0; index < steps.size(); ++index) {
        const Engine::ProcessData &step = steps.at(index);
        for (auto it = step.parameters().constBegin(); it != step.parameters().constEnd(); ++it) {
            if (!Engine::Parameters::isMaterialId(it.key()))
                continue;
            bool ok = false;
            const uint32_t id = it.value().toUInt(&ok);
            if (!ok || catalogue->material(id).materialId() != 0)
                continue;
            const QString parameter = Engine::Parameters::baseOfId(it.key());
            const QString which = id == 0 ? QStringLiteral("the list names no material the catalogue holds")
                                          : QStringLiteral("the catalogue has no material %1").arg(id);
            report(stepLine(index, step,
                            QStringLiteral("Warning: no material for \"%1\" (%2); the step will run with no "
                                           "material.")
                                .arg(parameter, which)));
        }
    }
}

std::shared_ptr<Model::Automaton::TotalVolume> BatchRunner::firstVolume()
{
    for (const auto &object : model.scene().objects()) {
        if (auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object))
            return volume;
    }
    return nullptr;
}

// The steps change the cells only; the surfaces are built when the picture paints the volume.
QString BatchRunner::saveImage(const QString &fileName)
{
    return picture.save(model.scene(), fileName);
}

bool BatchRunner::runSteps()
{
    ProgressLine bar(stderr, steps.size());
    progress = &bar;
    Engine::ProcessListRun run(model, firstVolume());
    run.setImageSaver([this](const QString &fileName) { return saveImage(fileName); });
    run.setStepReport([this, &bar](int index, int code, const QString &detail) {
        const Engine::ProcessData &step = steps.at(index);
        const bool succeeded = code == Engine::StepSucceeded;
        const bool more = succeeded && index + 1 < steps.size();
        bar.setProgress(succeeded ? index + 1 : index,
                        more ? Engine::processName(steps.at(index + 1).processType()) : QString());
        bar.print(stdout, stepLine(index, step, Engine::stepResultText(code)));
        if (!succeeded && !detail.isEmpty())
            report(stepLine(index, step, detail));
    });
    if (!steps.isEmpty()) {
        bar.setProgress(0, Engine::processName(steps.first().processType()));
        bar.redraw();
    }

    const Engine::ProcessListRun::Outcome outcome = run.run(steps);
    bar.finish();
    progress = nullptr;
    runVolume = run.volume();

    // A run that never had a volume (no document volume, no "Create Substrate" first) is the
    // dialog's "Missing Cell Volume" case, an empty list included.
    if (outcome.missingVolume || !run.volume()) {
        report(QStringLiteral("%1: %2").arg(QLatin1String(kMissingVolumeTitle), QLatin1String(kMissingVolumeText)));
        return false;
    }
    return outcome.failedStep < 0;
}

bool BatchRunner::writeDocument()
{
    using Model::Persistence::DocumentWriter;
    DocumentWriter writer(model.scene(), model.documentArchive());
    switch (writer.write(options.outputPath)) {
    case DocumentWriter::Outcome::Written:
        return true;
    case DocumentWriter::Outcome::NotOpened:
        report(QStringLiteral("Cannot create the document %1: %2.").arg(options.outputPath, writer.error()));
        return false;
    case DocumentWriter::Outcome::Failed:
        report(QStringLiteral("%1: %2: %3 %4.")
                   .arg(QLatin1String(DocumentWriter::kErrorTitle), options.outputPath,
                        QLatin1String(DocumentWriter::kErrorText), writer.error()));
        return false;
    }
    return false;
}

bool BatchRunner::writeNetlist()
{
    const QString text = runVolume ? Model::ModelExtraction::extractCantileverNetlist(*runVolume) : QString();
    if (text.isEmpty()) {
        report(QStringLiteral("No model data was extracted."));
        return false;
    }
    if (!Model::ModelExtraction::saveNetlist(options.netlistPath, text)) {
        report(QStringLiteral("Cannot write the netlist %1.").arg(options.netlistPath));
        return false;
    }
    return true;
}

// Written whenever the run has a volume, after a failed step too (as the document is), so that
// the state the list reached can be looked at.
bool BatchRunner::writeVolumeFiles()
{
    const bool any = !options.vtkPath.isEmpty() || !options.stlPath.isEmpty() || !options.imagePath.isEmpty();
    if (!any || !runVolume)
        return true;
    bool allWritten = true;
    auto check = [&](const QString &why) {
        if (why.isEmpty())
            return;
        report(why);
        allWritten = false;
    };
    if (!options.vtkPath.isEmpty())
        check(Model::Export::VtkImageWriter::write(*runVolume, options.vtkPath));
    if (!options.stlPath.isEmpty()) {
        using Model::Export::StlWriter;
        check(StlWriter::write(*runVolume, options.smoothSurface ? StlWriter::Surface::Smooth : StlWriter::Surface::Cubes,
                               options.stlPath));
    }
    if (!options.imagePath.isEmpty()) {
        OffscreenPicture image(options.imageSize, options.view);
        const QString why = image.save(model.scene(), options.imagePath);
        check(why.isEmpty() ? why : QStringLiteral("Cannot render the image %1: %2.").arg(options.imagePath, why));
    }
    return allWritten;
}

QString BatchRunner::fieldToExport(const Model::Automaton::TotalVolume &volume)
{
    const QStringList names = volume.particleCountFieldNames();
    const QString present = names.isEmpty() ? QStringLiteral("it holds none")
                                            : QStringLiteral("it holds \"%1\"").arg(names.join(QStringLiteral("\", \"")));
    if (!options.dataField.isEmpty()) {
        if (names.contains(options.dataField))
            return options.dataField;
        report(QStringLiteral("The output volume has no particle count field \"%1\"; %2.").arg(options.dataField, present));
        return QString();
    }
    if (names.size() == 1)
        return names.first();
    if (names.isEmpty())
        report(QStringLiteral("The output volume holds no particle count field to export; a \"Random Walk Doping\" "
                              "step leaves one."));
    else
        report(QStringLiteral("The output volume holds several particle count fields; choose one with --data-field "
                              "NAME: %1.").arg(present));
    return QString();
}

int BatchRunner::exportData()
{
    const QString field = fieldToExport(*runVolume);
    if (field.isEmpty())
        return InputRefused;
    Core::Operations::CSVDataExporter exporter(options.exportDataPath);
    const Model::Automaton::CellReadLock lock(*runVolume);
    if (exporter.saveDataToFile(field, runVolume->property(field), runVolume->sizeX(), runVolume->sizeY(),
                                runVolume->sizeZ()) != 0) {
        report(QStringLiteral("Cannot write the data file %1.").arg(options.exportDataPath));
        return StepFailed;
    }
    return AllStepsSucceeded;
}

} // namespace Batch
