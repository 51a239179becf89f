#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QXmlStreamReader;

namespace Model {
class Object;
class Scene;
namespace Materials {
class Material;
}
namespace Persistence {

class DocumentArchive;
class LiftedTexts;
class MaterialIdMap;

// Reads a ".vxf" document into a scene. Every "Material" of the file is reconciled with the
// catalogue (reconcileMaterial) before the cells that use it are read, so that the objects
// arrive holding catalogue ids. The scene gains the objects only when the whole document was
// read; a refused document leaves the scene and the document name as they were. Objects are
// read by the archiver registered for their type, which may take the text it parses straight
// from the file's bytes (ObjectArchiver::liftableText); the reader knows no archiver.
class DocumentReader {
public:
    enum class Outcome {
        Read,      // the objects are in the scene and its document name is the path
        NotOpened, // the file could not be opened; nothing happened
        Refused,   // the file is not a readable document; error() says why
    };
    static constexpr const char *kErrorTitle = "Error reading from file";
    static constexpr const char *kMaterialWarning =
        "WARNING: There was an error loading a material. This may alter the loaded cell volume.";

    DocumentReader(Scene &scene, DocumentArchive &archive) : scene(scene), archive(archive) {}

    Outcome read(const QString &path);
    QString error() const { return why; }
    // One kMaterialWarning per "Material" element that could not be read.
    QStringList warnings() const { return notes; }

    // Settles which catalogue id the loaded material's cells get: the same id when id and name
    // agree; the catalogue's id of that name when only the name is known; a new catalogue entry
    // when neither is; and for the same id under another name, the conflict's observer decides
    // (without one, or when it does not, the loaded material joins under a new id).
    static void reconcileMaterial(const Materials::Material &loaded, MaterialIdMap &map);

private:
    // The objects read before the first that could not be read (`complete` false, `error`
    // says why), or all of them.
    struct ReadSoFar {
        QList<std::shared_ptr<Object>> objects;
        bool complete = true;
        QString error;
    };

    bool readHeader(QXmlStreamReader &reader);
    ReadSoFar readContents(QXmlStreamReader &reader, const LiftedTexts *lifted);
    void readMaterial(QXmlStreamReader &reader);
    bool readObject(QXmlStreamReader &reader, const LiftedTexts *lifted, ReadSoFar &read);

    Scene &scene;
    DocumentArchive &archive;
    QString why;
    QStringList notes;
};

} // namespace Persistence
} // namespace Model
