#pragma once

#include "Model/Persistence/LiftedTexts.h"

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

    // The fast path of reading. An archiver that parses the text of one child element of its
    // "Object" itself names that element here; the reader then takes every plain such text out
    // of the document before the XML reader sees it (see LiftedTexts) and attaches the lifted
    // texts before read(), in which the archiver asks them for the text of the element it
    // stands on. Texts that were not lifted reach it through the XML reader as usual.
    virtual LiftableText liftableText() const { return {}; }
    virtual void setLiftedTexts(const LiftedTexts *texts) { (void)texts; }
};

} // namespace Persistence
} // namespace Model
