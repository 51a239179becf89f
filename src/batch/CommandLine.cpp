#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace Batch {

namespace {

const QString kListOption = QStringLiteral("list");
const QString kOutputOption = QStringLiteral("output");
const QString kDocumentOption = QStringLiteral("document");
const QString kThreadsOption = QStringLiteral("threads");
const QString kNetlistOption = QStringLiteral("netlist");
const QString kExportDataOption = QStringLiteral("export-data");
const QString kDataFieldOption = QStringLiteral("data-field");
const QString kHelpOption = QStringLiteral("help");

} // namespace

QString CommandLine::synopsis()
{
    return QStringLiteral("Usage: voxfab-batch --list STEPS.plst --output OUT.vxf [--document IN.vxf] [--threads N]\n"
                          "                    [--netlist FILE.cir] [--export-data FILE.csv [--data-field NAME]]");
}

QString CommandLine::usage()
{
    return synopsis() + QStringLiteral(
        "\n\n"
        "Runs the steps of a process list on a cell volume, without a display, and writes the\n"
        "whole scene as a document.\n"
        "\n"
        "  --list STEPS.plst   the process list to run\n"
        "  --output OUT.vxf    the document to write; it is written after a failed step too,\n"
        "                      with the steps that ran\n"
        "  --document IN.vxf   a document to start from; the steps act on its first cell volume\n"
        "                      (without it, the list must begin with \"Create Substrate\")\n"
        "  --threads N         the most worker threads the process steps use (N >= 1)\n"
        "  --netlist FILE.cir  after the list has run, extract the cantilevers of the cell volume\n"
        "                      and write their netlist; without one nothing is written, \"No model\n"
        "                      data was extracted.\" goes to standard error and the exit status is 1\n"
        "  --export-data FILE.csv\n"
        "                      after the steps, write the particle counts that \"Random Walk\n"
        "                      Doping\" left on the volume, one value per cell, as the \"Export\n"
        "                      Data\" action writes them\n"
        "  --data-field NAME   the field to export when the volume holds more than one\n"
        "                      (\"Random Walk Particle Count Type N\" or \"... Type P\")\n"
        "  --help              print this text\n"
        "\n"
        "Each step prints \"Step N: NAME: RESULT\" on standard output. \"Save Image\" steps render\n"
        "through an OpenGL context of the X display (run under xvfb-run when there is none).\n"
        "\n"
        "Exit status: 0 when every step succeeded; 1 when a step failed, there was no cell\n"
        "volume, an output could not be written or --netlist found no cantilever; 2 for a usage\n"
        "error or an input file that cannot be read (nothing is written then), and when the volume\n"
        "holds no field to export, or several and --data-field names none of them (the document is\n"
        "written then, the data file is not).\n");
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({
        {kListOption, QString(), QStringLiteral("STEPS.plst")},
        {kOutputOption, QString(), QStringLiteral("OUT.vxf")},
        {kDocumentOption, QString(), QStringLiteral("IN.vxf")},
        {kThreadsOption, QString(), QStringLiteral("N")},
        {kNetlistOption, QString(), QStringLiteral("FILE.cir")},
        {kExportDataOption, QString(), QStringLiteral("FILE.csv")},
        {kDataFieldOption, QString(), QStringLiteral("NAME")},
        {{QStringLiteral("h"), kHelpOption}, QString()},
    });
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(kHelpOption)) {
        result.helpRequested = true;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return result;
    }

    BatchOptions &options = result.options;
    options.listPath = parser.value(kListOption);
    options.outputPath = parser.value(kOutputOption);
    options.documentPath = parser.value(kDocumentOption);
    if (options.listPath.isEmpty())
        result.error = QStringLiteral("No process list: give one with --list STEPS.plst.");
    else if (options.outputPath.isEmpty())
        result.error = QStringLiteral("No output document: give one with --output OUT.vxf.");
    else if (parser.isSet(kDocumentOption) && options.documentPath.isEmpty())
        result.error = QStringLiteral("--document needs a file name.");
    else if (parser.isSet(kExportDataOption) && parser.value(kExportDataOption).isEmpty())
        result.error = QStringLiteral("--export-data needs a file name.");
    else if (parser.isSet(kDataFieldOption) && !parser.isSet(kExportDataOption))
        result.error = QStringLiteral("--data-field chooses the field of --export-data; give --export-data FILE.csv too.");
    else if (parser.isSet(kDataFieldOption) && parser.value(kDataFieldOption).isEmpty())
        result.error = QStringLiteral("--data-field needs a field name.");
    else if (parser.isSet(kNetlistOption) && parser.value(kNetlistOption).isEmpty())
        result.error = QStringLiteral("--netlist needs a file name.");
    options.exportDataPath = parser.value(kExportDataOption);
    options.dataField = parser.value(kDataFieldOption);
    options.netlistPath = parser.value(kNetlistOption);
    if (!result.error.isEmpty() || !parser.isSet(kThreadsOption))
        return result;

    bool isNumber = false;
    const int threads = parser.value(kThreadsOption).toInt(&isNumber);
    if (!isNumber || threads < 1)
        result.error = QStringLiteral("--threads needs a whole number of at least 1, not '%1'.")
                           .arg(parser.value(kThreadsOption));
    else
        options.threads = threads;
    return result;
}

} // namespace Batch
