#pragma once

#include <QString>
#include <QStringList>

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
};

} // namespace Batch
