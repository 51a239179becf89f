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
const QString kVtkOption = QStringLiteral("vtk");
const QString kStlOption = QStringLiteral("stl");
const QString kSurfaceOption = QStringLiteral("surface");
const QString kImageOption = QStringLiteral("image");
const QString kImageSizeOption = QStringLiteral("image-size");
const QString kViewOption = QStringLiteral("view");
// Larger pictures than this are refused rather than attempted (framebuffers of most drivers end
// about here).
constexpr int kMaxImageSide = 8192; // pixels

// "WxH" with both at least 1 and at most kMaxImageSide; an invalid size otherwise.
QSize parseImageSize(const QString &text)
{
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return QSize();
    bool wideOk = false;
    bool highOk = false;
    const int width = parts[0].toInt(&wideOk);
    const int height = parts[1].toInt(&highOk);
    if (!wideOk || !highOk || width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide)
        return QSize();
    return QSize(width, height);
}

} // namespace

QString CommandLine::synopsis()
{
    return QStringLiteral("Usage: voxfab-batch --list STEPS.plst --output OUT.vxf [--document IN.vxf] [--threads N]\n"
                          "                    [--netlist FILE.cir] [--export-data FILE.csv [--data-field NAME]]\n"
                          "                    [--vtk FILE.vti] [--stl FILE.stl [--surface cubes|smooth]]\n"
                          "                    [--image FILE.png [--image-size WxH] [--view VIEW]]");
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
        "  --vtk FILE.vti      after the list has run, write the output volume as VTK image data\n"
        "                      (ParaView, VTK): cell arrays \"material\" and one per particle\n"
        "                      count field, and a table of the materials' ids, names and colours\n"
        "  --stl FILE.stl      after the list has run, write the volume's surface as binary STL,\n"
        "                      one solid per material, in the volume's coordinates\n"
        "  --surface cubes|smooth\n"
        "                      the surface of --stl: the cells' faces (cubes, the default) or\n"
        "                      the marching-cubes surface (smooth)\n"
        "  --image FILE.png    after the list has run, render the output volume, framed to fill\n"
        "                      the picture, into an image (its extension names the format)\n"
        "  --image-size WxH    the size of the --image picture in pixels (default 640x480, each\n"
        "                      side 1 to 8192)\n"
        "  --view VIEW         the direction of the --image picture: iso (the default), front,\n"
        "                      top, right, left, back or bottom\n"
        "  --help              print this text\n"
        "\n"
        "Each step prints \"Step N: NAME: RESULT\" on standard output. \"Save Image\" steps render\n"
        "through an OpenGL context of the X display (run under xvfb-run when there is none), as\n"
        "--image does; both frame the volume so that it fills the picture.\n"
        "\n"
        "Exit status: 0 when every step succeeded; 1 when a step failed, there was no cell\n"
        "volume, an output could not be written or --netlist found no cantilever; 2 for a usage\n"
        "error or an input file that cannot be read (nothing is written then), and when the volume\n"
        "holds no field to export, or several and --data-field names none of them (the document is\n"
        "written then, the data file is not).\n");
}

QStringList CommandLine::viewNames()
{
    return {QStringLiteral("iso"),  QStringLiteral("front"), QStringLiteral("top"),   QStringLiteral("right"),
            QStringLiteral("left"), QStringLiteral("back"),  QStringLiteral("bottom")};
}

// Reads the options of the files written after the run into `options`; why they are wrong, or
// empty.
QString CommandLine::exportError(const QCommandLineParser &parser, BatchOptions &options)
{
    for (const QString &name : {kVtkOption, kStlOption, kImageOption}) {
        if (parser.isSet(name) && parser.value(name).isEmpty())
            return QStringLiteral("--%1 needs a file name.").arg(name);
    }
    options.vtkPath = parser.value(kVtkOption);
    options.stlPath = parser.value(kStlOption);
    options.imagePath = parser.value(kImageOption);
    if (parser.isSet(kSurfaceOption)) {
        if (!parser.isSet(kStlOption))
            return QStringLiteral("--surface chooses the surface of --stl; give --stl FILE.stl too.");
        const QString surface = parser.value(kSurfaceOption);
        if (surface != QLatin1String("cubes") && surface != QLatin1String("smooth"))
            return QStringLiteral("--surface takes cubes or smooth, not '%1'.").arg(surface);
        options.smoothSurface = surface == QLatin1String("smooth");
    }
    for (const QString &name : {kImageSizeOption, kViewOption}) {
        if (parser.isSet(name) && !parser.isSet(kImageOption))
            return QStringLiteral("--%1 sets up the picture of --image; give --image FILE.png too.").arg(name);
    }
    if (parser.isSet(kImageSizeOption)) {
        options.imageSize = parseImageSize(parser.value(kImageSizeOption));
        if (!options.imageSize.isValid())
            return QStringLiteral("--image-size needs a size WIDTHxHEIGHT in pixels, each from 1 to %1, not '%2'.")
                .arg(kMaxImageSide)
                .arg(parser.value(kImageSizeOption));
    }
    if (parser.isSet(kViewOption)) {
        options.view = parser.value(kViewOption);
        if (!viewNames().contains(options.view))
            return QStringLiteral("--view takes one of %1, not '%2'.")
                .arg(viewNames().join(QStringLiteral(", ")), options.view);
    }
    return QString();
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
        {kVtkOption, QString(), QStringLiteral("FILE.vti")},
        {kStlOption, QString(), QStringLiteral("FILE.stl")},
        {kSurfaceOption, QString(), QStringLiteral("cubes|smooth")},
        {kImageOption, QString(), QStringLiteral("FILE.png")},
        {kImageSizeOption, QString(), QStringLiteral("WxH")},
        {kViewOption, QString(), QStringLiteral("VIEW")},
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
    else
        result.error = exportError(parser, options);
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
