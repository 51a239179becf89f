#pragma once

#include <QString>

namespace Model {
class Scene;
namespace Persistence {

class DocumentArchive;

// Writes a scene as a ".vxf" document: a "Document" element holding a "Header" (version 1),
// every material of the catalogue, then one "Object" element per scene object that has an
// archiver. The file is replaced atomically: it is written beside the target and renamed over
// it only when everything was written, so a failed save leaves the previous file as it was.
class DocumentWriter {
public:
    enum class Outcome {
        Written,   // the scene's document name is now the path
        NotOpened, // the file could not be created; nothing was written
        Failed,    // writing failed part way; the previous file is untouched
    };
    static constexpr const char *kErrorTitle = "Error writing to file";
    static constexpr const char *kErrorText = "Unable to save document to the specified file.";

    DocumentWriter(Scene &scene, DocumentArchive &archive) : scene(scene), archive(archive) {}

    Outcome write(const QString &path);

private:
    Scene &scene;
    DocumentArchive &archive;
};

} // namespace Persistence
} // namespace Model
