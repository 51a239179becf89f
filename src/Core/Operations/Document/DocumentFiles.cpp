#include "DocumentFiles.h"

#include "Core/ApplicationModel.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"

#include <QDebug>
#include <QDir>
#include <QFile>

namespace Core {
namespace Operations {

using Model::Persistence::DocumentReader;
using Model::Persistence::DocumentWriter;

namespace {

void show(const DocumentReporter &report, const QString &title, const QString &text)
{
    qWarning() << __FILE__ << Q_FUNC_INFO << title << text;
    if (report)
        report(title, text);
}

// The reader only says that the file could not be opened; a second try learns why.
QString openFailure(const QString &path)
{
    const QString text = QStringLiteral("The file %1 could not be opened").arg(QDir::toNativeSeparators(path));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) // it can now: nothing more to say
        return text + QLatin1Char('.');
    return text + QStringLiteral(": ") + file.errorString() + QLatin1Char('.');
}

} // namespace

bool writeDocument(ApplicationModel &model, const QString &path, const DocumentReporter &report)
{
    DocumentWriter writer(model.scene(), model.documentArchive());
    switch (writer.write(path)) {
    case DocumentWriter::Outcome::Written:
        return true;
    case DocumentWriter::Outcome::NotOpened:
    case DocumentWriter::Outcome::Failed:
        show(report, QLatin1String(DocumentWriter::kErrorTitle), writer.errorText(path));
        return false;
    }
    return false;
}

bool readDocument(ApplicationModel &model, const QString &path, const DocumentReporter &report)
{
    DocumentReader reader(model.scene(), model.documentArchive());
    const DocumentReader::Outcome outcome = reader.read(path);
    for (const QString &warning : reader.warnings())
        model.inputRequest().postMessage(warning.toStdString());
    switch (outcome) {
    case DocumentReader::Outcome::Read:
        model.notifyUpdateObservers();
        return true;
    case DocumentReader::Outcome::NotOpened:
        show(report, QLatin1String(DocumentReader::kErrorTitle), openFailure(path));
        return false;
    case DocumentReader::Outcome::Refused:
        show(report, QLatin1String(DocumentReader::kErrorTitle), reader.error());
        return false;
    }
    return false;
}

} // namespace Operations
} // namespace Core
