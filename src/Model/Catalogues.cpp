#include "Catalogues.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cerrno>

namespace Model {

void initializeCatalogues()
{
    auto materials = Materials::MaterialFactory::instance();
    if (!materials->loadMaterials()) {
        materials->createDefaultMaterials();
        if (!materials->saveMaterials())
            qWarning() << __FILE__ << Q_FUNC_INFO << "the material catalogue is kept in memory only";
    }

    auto processes = Process::ProcessFactory::instance();
    if (processes->loadProcesses())
        processes->mergeDefaultProcesses();
    else
        processes->createDefaultProcesses();
    if (!processes->saveProcesses())
        qWarning() << __FILE__ << Q_FUNC_INFO << "the process catalogue is kept in memory only";
}

QString catalogueFilePath(const QString &fileName)
{
    QDir folder = QDir::home();
    if (!folder.cd(QLatin1String(kCatalogueFolderName)))
        return QString();
    return folder.absoluteFilePath(fileName);
}

bool openCatalogueFileForWriting(QSaveFile &file, const QString &fileName, const char *function)
{
    QDir folder = QDir::home();
    const QString folderName = QLatin1String(kCatalogueFolderName);
    const QString folderPath = folder.absoluteFilePath(folderName);
    if (!folder.exists(folderName)) {
        errno = 0;
        if (!folder.mkdir(folderName)) {
            const int reason = errno; // QDir::mkdir reports no reason itself
            qWarning() << __FILE__ << function << "cannot create the folder" << folderPath << ":"
                       << (reason != 0 ? qt_error_string(reason) : QStringLiteral("unknown reason"));
            return false;
        }
    }
    if (!folder.cd(folderName)) {
        qWarning() << __FILE__ << function << "cannot enter the folder" << folderPath;
        return false;
    }
    file.setFileName(folder.absoluteFilePath(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qWarning() << __FILE__ << function << "cannot write" << file.fileName() << ":" << file.errorString();
        return false;
    }
    return true;
}

namespace {

// Moves a malformed catalogue file aside, so that the defaults written over it do not destroy
// what the user may still want to repair by hand.
void keepBrokenFile(QFile &file, const char *function)
{
    const QString broken = file.fileName() + QStringLiteral(".broken");
    file.close();
    if (QFile::exists(broken) && !QFile::remove(broken)) {
        qWarning() << __FILE__ << function << "cannot replace" << broken << "; the malformed" << file.fileName()
                   << "will be overwritten";
        return;
    }
    if (file.rename(broken))
        qWarning() << __FILE__ << function << "the malformed catalogue was kept as" << broken;
    else
        qWarning() << __FILE__ << function << "cannot keep the malformed" << file.fileName() << "as" << broken << ":"
                   << file.errorString();
}

} // namespace

bool readCatalogueFile(const QString &fileName, const char *root, const std::function<void()> &begin,
                       const std::function<void(QXmlStreamReader &)> &readEntry, const char *function)
{
    QFile file(catalogueFilePath(fileName));
    if (file.fileName().isEmpty() || !file.exists() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;

    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String(root)) {
        qWarning() << __FILE__ << function << file.fileName() << "has no" << root << "root element"
                   << reader.errorString();
        keepBrokenFile(file, function);
        return false;
    }
    begin();
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            readEntry(reader);
    }
    if (reader.hasError()) {
        qWarning() << __FILE__ << function << file.fileName() << "line" << reader.lineNumber() << reader.errorString();
        keepBrokenFile(file, function);
        return false;
    }
    return true;
}

bool writeCatalogueFile(const QString &fileName, const char *root,
                        const std::function<void(QXmlStreamWriter &)> &writeEntries, const char *function)
{
    QSaveFile file;
    if (!openCatalogueFileForWriting(file, fileName, function))
        return false;

    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QLatin1String(root));
    writeEntries(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError()) {
        file.cancelWriting();
        qWarning() << __FILE__ << function << "error writing" << file.fileName() << ":" << file.errorString();
        return false;
    }
    if (!file.commit()) {
        qWarning() << __FILE__ << function << "cannot replace" << file.fileName() << ":" << file.errorString();
        return false;
    }
    return true;
}

} // namespace Model
