#include "DocumentWriter.h"

#include "Model/Materials/MaterialXml.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/ObjectArchiver.h"
#include "Model/Scene.h"

#include <QDebug>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace Model {
namespace Persistence {

DocumentWriter::Outcome DocumentWriter::write(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return Outcome::NotOpened;

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

    if (writer.hasError() || !file.commit()) {
        qWarning() << __FILE__ << Q_FUNC_INFO << path << file.errorString();
        file.cancelWriting();
        return Outcome::Failed;
    }
    scene.setDocumentName(path);
    return Outcome::Written;
}

} // namespace Persistence
} // namespace Model
