#pragma once

#include "Model/Persistence/LiftedTexts.h"

#include <QString>
#include <QStringList>
#include <memory>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
class Object;
namespace Persistence {

class MaterialIdMap;

// Writes and reads the "Object" element of one kind of scene object. The document writer and
// reader attach their stream (and, when reading, the map of material ids) before each call.
// Reading keeps the ids the document's cells hold; once the whole document is accepted and its
// materials are reconciled with the catalogue, translateMaterials turns them into catalogue ids.
class ObjectArchiver {
public:
    virtual ~ObjectArchiver() = default;

    virtual void setWriter(QXmlStreamWriter *writer) = 0;
    virtual void setReader(QXmlStreamReader *reader) = 0;
    virtual void setMaterialIdMap(MaterialIdMap *map) = 0;

    // Writes one "Object" element; false when nothing was written.
    virtual bool write(const std::shared_ptr<Object> &object) = 0;
    // Builds the object of the "Object" element the reader stands on and reads the element
    // through its end tag. Null when no reader is attached or the element cannot be read;
    // readError() then says why (unless the XML stream itself broke, which the reader tells).
    virtual std::shared_ptr<Object> read() = 0;
    virtual QString readError() const = 0;
    // What the last read() let pass but the user should know before saving, one sentence each.
    virtual QStringList readWarnings() const { return {}; }
    // Where the object being read stands among the document's objects, from 1; warnings name
    // the object by it.
    virtual void setObjectNumber(int number) { (void)number; }
    // Replaces the document's material ids in an object that read() built with the catalogue
    // ids the attached map gives them.
    virtual void translateMaterials(Object &object) { (void)object; }

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
