#pragma once

#include "Model/Materials/Material.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QXmlStreamReader;

namespace Model {
class Object;
class Scene;
namespace Persistence {

class DocumentArchive;
class LiftedTexts;
class MaterialIdMap;
class ObjectArchiver;

// Reads a ".vxf" document into a scene. Reading changes nothing until the document is accepted:
// the objects keep the material ids of the file, and only then are the file's materials
// reconciled with the catalogue and the process-wide id map (reconcileMaterial, which may ask
// the user about a conflict) and the objects' ids translated to catalogue ids. A refused
// document leaves the scene, its document name, the catalogue and the id map as they were.
// Damage to the XML after the Header ends the document where it occurs: the objects before it
// are kept and a warning says where. Objects are read by the archiver registered for their
// type, which may take the text it parses straight from the file's bytes
// (ObjectArchiver::liftableText); the reader knows no archiver.
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
    // Begins every warning, as it begins kMaterialWarning.
    static constexpr const char *kWarningPrefix = "WARNING: ";

    DocumentReader(Scene &scene, DocumentArchive &archive) : scene(scene), archive(archive) {}

    Outcome read(const QString &path);
    QString error() const { return why; }
    // What the user should know about a document that was read, one line each, in the order
    // met: kMaterialWarning per "Material" element that could not be read, the objects'
    // archivers' warnings (a "State" of the wrong length), and damage that ended the reading.
    // Empty after a refusal.
    QStringList warnings() const { return notes; }

    // Settles which catalogue id the loaded material's cells get: the same id when id and name
    // agree; the catalogue's id of that name when only the name is known; a new catalogue entry
    // when neither is; and for the same id under another name, the conflict's observer decides
    // (without one, or when it does not, the loaded material joins under a new id).
    static void reconcileMaterial(const Materials::Material &loaded, MaterialIdMap &map);

private:
    struct ReadObject {
        std::shared_ptr<Object> object;
        std::shared_ptr<ObjectArchiver> archiver; // translates its ids once the document is accepted
    };
    // What the document holds, in document order, as long as it is not refused.
    struct Contents {
        std::vector<Materials::Material> materials;
        std::vector<ReadObject> objects;
    };
    enum class ObjectOutcome { Read, Skipped, Refused, Damaged };

    bool readHeader(QXmlStreamReader &reader);
    bool readContents(QXmlStreamReader &reader, const LiftedTexts *lifted, Contents &contents);
    void readMaterial(const QXmlStreamReader &reader, Contents &contents);
    ObjectOutcome readObject(QXmlStreamReader &reader, const LiftedTexts *lifted, Contents &contents);
    void warnOfDamage(const QXmlStreamReader &reader, size_t objectsRead);
    void accept(const Contents &contents, const QString &path);

    Scene &scene;
    DocumentArchive &archive;
    QString why;
    QStringList notes;
};

} // namespace Persistence
} // namespace Model
