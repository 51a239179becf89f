#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace Batch {

// What voxfab-batch was asked to do.
struct BatchOptions {
    QString listPath;     // --list
    QString outputPath;   // --output
    QString documentPath; // --document, empty when the run starts from an empty scene
    int threads = 0;      // --threads, 0 when the thread pool keeps its own count
    QString netlistPath;  // --netlist, empty when no netlist is asked for
    QString exportDataPath; // --export-data, empty when no particle count field is exported
    QString dataField;      // --data-field, empty for the output volume's only field
    QString vtkPath;        // --vtk, empty when no VTK image data is written
    QString stlPath;        // --stl, empty when no STL surface is written
    bool smoothSurface = false; // --surface smooth (marching cubes) rather than cubes
    QString imagePath;      // --image, empty when no picture is rendered after the run
    QSize imageSize{640, 480}; // --image-size
    QString view = QStringLiteral("iso"); // --view: one of CommandLine::viewNames()
};

// The result of reading the command line: the options, or help, or why the line is wrong.
struct CommandLine {
    BatchOptions options;
    bool helpRequested = false;
    QString error; // empty when the line is usable

    // `arguments` starts with the program name, as QCoreApplication::arguments() gives it.
    static CommandLine parse(const QStringList &arguments);
    // The one-line form of the command, and the whole help text.
    static QString synopsis();
    static QString usage();
    // The names --view takes, the fresh view's direction ("iso") first.
    static QStringList viewNames();

private:
    static QString exportError(const QCommandLineParser &parser, BatchOptions &options);
};

} // namespace Batch
