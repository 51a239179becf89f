#pragma once

#include <QString>
#include <memory>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
class Object;
namespace Persistence {

class MaterialIdMap;

// Writes and reads the "Object" element of one kind of scene object. The document writer and
// reader attach their stream (and, when reading, the map of material ids) before each call.
class ObjectArchiver {
public:
    virtual ~ObjectArchiver() = default;

    virtual void setWriter(QXmlStreamWriter *writer) = 0;
    virtual void setReader(QXmlStreamReader *reader) = 0;
    virtual void setMaterialIdMap(MaterialIdMap *map) = 0;

    // Writes one "Object" element; false when nothing was written.
    virtual bool write(const std::shared_ptr<Object> &object) = 0;
    // Builds the object of the "Object" element the reader stands on. Null when no reader is
    // attached or the element cannot be read; readError() then says why.
    virtual std::shared_ptr<Object> read() = 0;
    virtual QString readError() const = 0;
};

} // namespace Persistence
} // namespace Model
