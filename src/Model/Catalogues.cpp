#include "Catalogues.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"

#include <QDebug>
#include <QDir>
#include <QFile>
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

} // namespace Model
