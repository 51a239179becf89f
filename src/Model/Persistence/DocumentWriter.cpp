#include "DocumentWriter.h"

#include "Model/Materials/MaterialXml.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/ObjectArchiver.h"
#include "Model/Scene.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace Model {
namespace Persistence {

namespace {

// How often the buffered rest is pushed out before the write counts as failed.
constexpr int kFlushAttempts = 3;

// A save file that notices short writes. The file system may accept only part of a block (a
// full disk, a file size limit) without an error; the bytes left over are offered again, which
// either writes them or fails with the file system's reason. QSaveFile also does not check the
// final flush of its commit, so the buffer is emptied, and checked, before committing.
class CheckedSaveFile : public QSaveFile {
public:
    using QSaveFile::QSaveFile;

    bool complete() const { return !shortWrite; }

    bool flushAll()
    {
        for (int attempt = 0; attempt < kFlushAttempts; ++attempt) {
            if (flush())
                return true;
        }
        shortWrite = true;
        return false;
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        qint64 written = 0;
        while (written < length) {
            const qint64 now = QSaveFile::writeData(data + written, length - written);
            if (now <= 0) {
                shortWrite = true;
                return -1;
            }
            written += now;
        }
        return written;
    }

private:
    bool shortWrite = false;
};

QString openFailure(const QString &path, const QSaveFile &file)
{
    const QDir folder = QFileInfo(path).absoluteDir();
    if (!folder.exists())
        return QStringLiteral("The folder %1 does not exist").arg(QDir::toNativeSeparators(folder.path()));
    return file.errorString();
}

QString writeFailure(const QSaveFile &file)
{
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return QStringLiteral("The document could not be written completely");
}

} // namespace

QString DocumentWriter::errorText(const QString &path) const
{
    return QStringLiteral("%1\n%2: %3.").arg(QLatin1String(kErrorText), QDir::toNativeSeparators(path), why);
}

DocumentWriter::Outcome DocumentWriter::write(const QString &path)
{
    why.clear();
    CheckedSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        why = openFailure(path, file);
        qWarning("Saving %s failed: %s", qPrintable(path), qPrintable(why));
        return Outcome::NotOpened;
    }

    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(false);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Document"));
    writer.writeEmptyElement(QStringLiteral("Header"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    for (const auto &material : Materials::MaterialFactory::instance()->materials())
        Materials::writeMaterialElement(writer, material);
    for (const auto &object : scene.objects()) {
        const auto archiver = archive.archiver(object->objectType());
        if (!archiver)
            continue;
        archiver->setWriter(&writer);
        archiver->write(object);
        archiver->setWriter(nullptr);
    }
    writer.writeEndElement();
    writer.writeEndDocument();

    if (writer.hasError() || !file.flushAll() || !file.complete()) {
        why = writeFailure(file);
        qWarning("Saving %s failed: %s", qPrintable(path), qPrintable(why));
        file.cancelWriting();
        return Outcome::Failed;
    }
    if (!file.commit()) {
        why = writeFailure(file);
        qWarning("Saving %s failed: %s", qPrintable(path), qPrintable(why));
        return Outcome::Failed;
    }
    scene.setDocumentName(path);
    return Outcome::Written;
}

} // namespace Persistence
} // namespace Model
