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
        NotOpened, // the file could not be created; nothing was written; error() says why
        Failed,    // writing or replacing failed part way; the previous file is untouched
    };
    static constexpr const char *kErrorTitle = "Error writing to file";
    static constexpr const char *kErrorText = "Unable to save document to the specified file.";

    DocumentWriter(Scene &scene, DocumentArchive &archive) : scene(scene), archive(archive) {}

    Outcome write(const QString &path);

    // Why the last write did not succeed, in the file system's words ("Permission denied",
    // "No space left on device", a missing folder); empty after a success.
    QString error() const { return why; }
    // The text of the failure box: kErrorText, then the file and the reason.
    QString errorText(const QString &path) const;

private:
    Scene &scene;
    DocumentArchive &archive;
    QString why;
};

} // namespace Persistence
} // namespace Model
