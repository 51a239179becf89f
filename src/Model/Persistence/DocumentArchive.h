#pragma once

#include "Model/Persistence/LiftedTexts.h"
#include "Model/Persistence/ScratchFiles.h"

#include <QString>
#include <cstdint>
#include <map>
#include <memory>

namespace Model {
namespace Persistence {

class ObjectArchiver;

// What one document keeps beside its scene: the archivers that write and read its objects,
// by object type, and the scratch files that hold the undo and redo snapshot records of its
// process steps. Cell volumes (type 1) have an archiver from the start.
class DocumentArchive {
public:
    DocumentArchive();
    ~DocumentArchive();
    DocumentArchive(const DocumentArchive &) = delete;
    DocumentArchive &operator=(const DocumentArchive &) = delete;

    QString undoScratchPath() const { return scratch.undoPath(); }
    QString redoScratchPath() const { return scratch.redoPath(); }

    // The archiver of an object type, or null when objects of that type are not stored.
    std::shared_ptr<ObjectArchiver> archiver(uint32_t objectType) const;
    // Registers (or replaces) the archiver of an object type.
    void setArchiver(uint32_t objectType, std::shared_ptr<ObjectArchiver> archiver);
    // By object type, the texts that the archivers parse from a document's bytes themselves.
    std::map<uint32_t, LiftableText> liftableTexts() const;

private:
    ScratchFiles scratch;
    std::map<uint32_t, std::shared_ptr<ObjectArchiver>> archivers;
};

} // namespace Persistence
} // namespace Model
