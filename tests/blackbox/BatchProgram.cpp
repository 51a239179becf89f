#include "BatchProgram.h"

#include "common/Cells.h"

#include "Core/ApplicationModel.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Engine/ProcessListFile.h"
#include "Engine/ProcessListRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <ostream>

namespace BlackBox {

uint32_t VolumeCells::countInColumn(uint32_t x, uint32_t y, uint32_t material) const
{
    uint32_t count = 0;
    for (uint32_t z = 0; z < sizeZ; ++z)
        count += at(x, y, z) == material ? 1 : 0;
    return count;
}

void PrintTo(const VolumeCells &cells, std::ostream *os)
{
    *os << cells.sizeX << " x " << cells.sizeY << " x " << cells.sizeZ << " cells";
    if (cells.materials.empty())
        return;
    // The centre column, bottom to top: enough to see which layers differ.
    *os << ", centre column:";
    for (uint32_t z = 0; z < cells.sizeZ; ++z)
        *os << ' ' << cells.at(cells.sizeX / 2, cells.sizeY / 2, z);
}

VolumeCells cellsOf(Model::Automaton::TotalVolume &volume)
{
    return VolumeCells{volume.sizeX(), volume.sizeY(), volume.sizeZ(), TestSupport::materialsOf(volume)};
}

BatchProgram::BatchProgram()
{
    QDir(dir.path()).mkpath(QStringLiteral("home"));
}

QProcessEnvironment BatchProgram::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
    return environment;
}

Outcome BatchProgram::run(const QStringList &arguments) const
{
    return run(arguments, environment());
}

Outcome BatchProgram::run(const QStringList &arguments, const QProcessEnvironment &environment) const
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(VOXFAB_BATCH_PROGRAM), arguments);
    Outcome outcome;
    if (!process.waitForStarted(-1) || !process.waitForFinished(-1))
        return outcome;
    outcome.crashed = process.exitStatus() != QProcess::NormalExit;
    outcome.exitCode = process.exitCode();
    outcome.stdoutLines = QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    outcome.stderrText = QString::fromLocal8Bit(process.readAllStandardError());
    return outcome;
}

QString BatchProgram::writeList(const QString &name, const QList<Engine::ProcessData> &steps) const
{
    const QString listPath = path(name);
    Engine::ProcessListFile file;
    return file.write(listPath, steps) ? listPath : QString();
}

QString BatchProgram::writeDocument(const QString &name,
                                    const QList<std::shared_ptr<Model::Automaton::TotalVolume>> &volumes) const
{
    Core::ApplicationModel model;
    for (const auto &volume : volumes)
        model.scene().addObject(volume);
    const QString documentPath = path(name);
    Model::Persistence::DocumentWriter writer(model.scene(), model.documentArchive());
    return writer.write(documentPath) == Model::Persistence::DocumentWriter::Outcome::Written ? documentPath
                                                                                            : QString();
}

QList<VolumeCells> BatchProgram::readDocument(const QString &path, bool *read)
{
    Core::ApplicationModel model;
    Model::Persistence::DocumentReader reader(model.scene(), model.documentArchive());
    const bool ok = reader.read(path) == Model::Persistence::DocumentReader::Outcome::Read;
    if (read)
        *read = ok;
    QList<VolumeCells> volumes;
    for (const auto &object : model.scene().objects())
        if (auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object))
            volumes << cellsOf(*volume);
    return volumes;
}

Outcome BatchProgram::runSteps(const QList<Engine::ProcessData> &steps, const QString &document,
                               const QStringList &more) const
{
    QStringList arguments{QStringLiteral("--list"), writeList(QStringLiteral("steps.plst"), steps),
                          QStringLiteral("--output"), output()};
    if (!document.isEmpty())
        arguments << QStringLiteral("--document") << document;
    return run(arguments + more);
}

QStringList succeededLines(const QStringList &names)
{
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << QStringLiteral("Step %1: %2: No error, process was run successfully.").arg(i + 1).arg(names[i]);
    return lines;
}

VolumeCells runInProcess(const QList<Engine::ProcessData> &steps)
{
    Core::ApplicationModel model;
    Engine::ProcessListRun run(model, nullptr);
    run.run(steps);
    return run.volume() ? cellsOf(*run.volume()) : VolumeCells();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace BlackBox
