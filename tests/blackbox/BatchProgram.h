#pragma once

// Runs the voxfab-batch program as a user would, on files the test writes itself, and reads
// back the cells of the documents it writes.

#include "Model/Automaton/TotalVolume.h"
#include "Engine/ProcessData.h"

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <vector>

namespace BlackBox {

struct Outcome {
    int exitCode = -1;
    bool crashed = false;
    QStringList stdoutLines; // without empty lines
    QString stderrText;
};

// The materials of a volume in cell index order, with its sizes, for comparisons that print
// something readable when they fail.
struct VolumeCells {
    uint32_t sizeX = 0, sizeY = 0, sizeZ = 0;
    std::vector<uint32_t> materials;
    bool operator==(const VolumeCells &other) const
    {
        return sizeX == other.sizeX && sizeY == other.sizeY && sizeZ == other.sizeZ && materials == other.materials;
    }
    uint32_t at(uint32_t x, uint32_t y, uint32_t z) const { return materials[(size_t(x) * sizeY + y) * sizeZ + z]; }
    uint32_t countInColumn(uint32_t x, uint32_t y, uint32_t material) const;
};
void PrintTo(const VolumeCells &cells, std::ostream *os);

VolumeCells cellsOf(Model::Automaton::TotalVolume &volume);

// A scratch folder per test: the child's HOME (its own catalogues) and working folder live in
// it, and so do the files the test writes.
class BatchProgram {
public:
    BatchProgram();

    QString path(const QString &name) const { return dir.filePath(name); }
    // Runs the program with `arguments`; `environment` replaces the default one when given.
    Outcome run(const QStringList &arguments) const;
    Outcome run(const QStringList &arguments, const QProcessEnvironment &environment) const;
    // The environment a run gets: the test's own, with HOME in the scratch folder.
    QProcessEnvironment environment() const;

    // Writes a list with the program's own list writer; returns its path.
    QString writeList(const QString &name, const QList<Engine::ProcessData> &steps) const;
    // Writes a document holding `volumes` with the program's own document writer.
    QString writeDocument(const QString &name,
                          const QList<std::shared_ptr<Model::Automaton::TotalVolume>> &volumes) const;
    // The cells of every volume of the document at `path`; empty when it cannot be read.
    static QList<VolumeCells> readDocument(const QString &path, bool *read = nullptr);

    // Runs `steps` (written to a list) into output(), on `document` when one is given, with
    // `more` arguments.
    Outcome runSteps(const QList<Engine::ProcessData> &steps, const QString &document = QString(),
                     const QStringList &more = QStringList()) const;
    QString output() const { return path(QStringLiteral("out.vxf")); }
    // The cells of the first volume of output().
    VolumeCells outputCells() const { return readDocument(output()).value(0); }

private:
    QTemporaryDir dir;
};

// The steps of `steps` run in this process with the batch engine from an empty scene: what the
// program's first volume must hold afterwards.
VolumeCells runInProcess(const QList<Engine::ProcessData> &steps);

// The lines a run prints for steps named `names` that all succeed.
QStringList succeededLines(const QStringList &names);

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

} // namespace BlackBox
