#pragma once

#include "Model/Persistence/LiftedTexts.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <map>
#include <memory>

class QFile;

namespace Model {
namespace Persistence {

// What the document reader's XML reader reads. When some archiver parses a text itself, the
// whole file is read at once and those texts are lifted out of it (see LiftedTexts); the
// device's text mode still applies to every byte. Otherwise, or for a file too large for one
// byte array, the XML reader streams the file as it stands.
class DocumentSource {
public:
    DocumentSource(QFile &file, const std::map<uint32_t, LiftableText> &wanted);
    DocumentSource(const DocumentSource &) = delete;
    DocumentSource &operator=(const DocumentSource &) = delete;

    QXmlStreamReader &xml() { return reader; }
    // Null when the file is streamed as it stands.
    const LiftedTexts *liftedTexts() const { return lifted.get(); }

private:
    std::unique_ptr<LiftedTexts> lifted;
    QBuffer structure;
    QXmlStreamReader reader;
};

} // namespace Persistence
} // namespace Model
