#include "Catalogues.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"

#include <QDebug>
#include <QDir>
#include <QFile>
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

bool openCatalogueFileForWriting(QFile &file, const QString &fileName, const char *function)
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qWarning() << __FILE__ << function << "cannot write" << file.fileName() << ":" << file.errorString();
        return false;
    }
    return true;
}

bool readCatalogueFile(const QString &fileName, const char *root, const std::function<void()> &begin,
                       const std::function<void(QXmlStreamReader &)> &readEntry, const char *function)
{
    QFile file(catalogueFilePath(fileName));
    if (file.fileName().isEmpty() || !file.exists() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;

    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String(root))
        return false;
    begin();
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            readEntry(reader);
    }
    if (reader.hasError()) {
        qWarning() << __FILE__ << function << file.fileName() << reader.errorString();
        return false;
    }
    return true;
}

bool writeCatalogueFile(const QString &fileName, const char *root,
                        const std::function<void(QXmlStreamWriter &)> &writeEntries, const char *function)
{
    QFile file;
    if (!openCatalogueFileForWriting(file, fileName, function))
        return false;

    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QLatin1String(root));
    writeEntries(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    file.close();
    if (writer.hasError() || file.error() != QFileDevice::NoError) {
        qWarning() << __FILE__ << function << "error writing" << file.fileName() << ":" << file.errorString();
        return false;
    }
    return true;
}

} // namespace Model
