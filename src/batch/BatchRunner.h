#pragma once

#include "CommandLine.h"
#include "OffscreenPicture.h"

#include "Core/ApplicationModel.h"
#include "Engine/ProcessData.h"

#include <QList>
#include <QString>
#include <memory>

namespace Model {
namespace Automaton {
class TotalVolume;
}
}

namespace Batch {

class ProgressLine;

// One run of voxfab-batch: read the inputs, run the process list on the run volume with the
// batch dialog's engine, write the whole scene. Runs on the thread of the application object,
// which also owns the OpenGL context of "Save Image" steps. The catalogues must be loaded.
class BatchRunner {
public:
    enum ExitStatus : int {
        AllStepsSucceeded = 0,
        StepFailed = 1,   // a step failed, or there was no cell volume for the steps
        InputRefused = 2, // a usage error, or an input that could not be read
    };

    explicit BatchRunner(BatchOptions options);
    ~BatchRunner();

    // Everything, from reading to writing; the process's exit status.
    int run();

private:
    bool checkOutputPath();
    bool readDocument();
    bool readList();
    void warnOfUnknownMaterials();
    // The first cell volume of the scene, or none.
    std::shared_ptr<Model::Automaton::TotalVolume> firstVolume();
    // True when every step ran and succeeded.
    bool runSteps();
    bool writeDocument();
    // --netlist: the cantilevers of the run volume as a netlist file; false when there are
    // none or the file cannot be written.
    bool writeNetlist();
    // Writes the run volume's particle count field to --export-data; the exit status it adds.
    int exportData();
    // The field to export, or empty with the reason reported.
    QString fieldToExport(const Model::Automaton::TotalVolume &volume);
    // --vtk, --stl and --image: the run volume's files written after the run; false when one
    // could not be written (each failure is reported).
    bool writeVolumeFiles();
    bool checkWritablePath(const QString &path, const char *what);
    QString saveImage(const QString &fileName);
    void report(const QString &text);

    BatchOptions options;
    Core::ApplicationModel model;
    QList<Engine::ProcessData> steps;
    OffscreenPicture picture;
    ProgressLine *progress = nullptr; // while the steps run
    std::shared_ptr<Model::Automaton::TotalVolume> runVolume; // the volume the steps acted on
};

} // namespace Batch
