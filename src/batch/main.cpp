// voxfab-batch: runs a process list on a cell volume without a display and writes the
// resulting document.
#include "BatchRunner.h"
#include "CommandLine.h"

#include "Model/Catalogues.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <cstdio>

namespace {

// Qt's platform without windows. It still reaches an X display for OpenGL when DISPLAY is
// set, which is all the "Save Image" steps need.
void chooseOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void printTo(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char *argv[])
{
    chooseOffscreenPlatform();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Voxfab"));
    // The engine's debug log is for developers at a debugger; QT_LOGGING_RULES brings it back.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    const Batch::CommandLine line = Batch::CommandLine::parse(QGuiApplication::arguments());
    if (line.helpRequested) {
        printTo(stdout, Batch::CommandLine::usage());
        return Batch::BatchRunner::AllStepsSucceeded;
    }
    if (!line.error.isEmpty()) {
        printTo(stderr, QStringLiteral("voxfab-batch: %1\n%2\nRun voxfab-batch --help for the options.\n")
                            .arg(line.error, Batch::CommandLine::synopsis()));
        return Batch::BatchRunner::InputRefused;
    }

    Model::initializeCatalogues();
    Batch::BatchRunner runner(line.options);
    return runner.run();
}
