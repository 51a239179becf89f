#pragma once

#include "Model/Persistence/ObjectArchiver.h"

#include <cstdint>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}
namespace Persistence {

// Archives cell volumes. The "Object" element carries the grid and cell sizes as attributes,
// a "State" child whose text is one decimal material id per cell in cell-index order, each
// followed by a space, and a "Position" child with the origin.
class TotalVolumeArchiver : public ObjectArchiver {
public:
    static constexpr uint32_t kObjectType = 1;

    void setWriter(QXmlStreamWriter *newWriter) override { writer = newWriter; }
    void setReader(QXmlStreamReader *newReader) override { reader = newReader; }
    void setMaterialIdMap(MaterialIdMap *map) override { idMap = map; }
    // Asks for the text of every "State" that holds nothing but digits and blanks: the ids
    // are nearly the whole document, and they parse far faster from its bytes.
    LiftableText liftableText() const override;
    void setLiftedTexts(const LiftedTexts *texts) override { lifted = texts; }

    // Writes the ids the cells hold, untranslated; holds the cell lock while writing "State".
    bool write(const std::shared_ptr<Object> &object) override;
    // Refuses (null, with readError) missing or non-numeric sizes, grids too large for 32-bit
    // indices or for this computer's memory, and a "State" that holds anything but ids and
    // blanks. A "State" with fewer ids than cells leaves the other cells empty and one with
    // more has the surplus ignored; either is a warning, and so is an Object whose first child
    // is not a "State" (every cell empty). The ids stay as the document has them.
    std::shared_ptr<Object> read() override;
    QString readError() const override { return error; }
    QStringList readWarnings() const override { return warnings; }
    void setObjectNumber(int number) override { objectNumber = number; }
    // One pass over the cells, and none while the map changes no id.
    void translateMaterials(Object &object) override;

private:
    void writeState(Automaton::TotalVolume &volume);
    bool readState(Automaton::Cell *cells, uint32_t cellCount, uint64_t &idsRead, uint64_t &unreadable);
    bool readLiftedState(const LiftedTexts::Span &text, Automaton::Cell *cells, uint32_t cellCount,
                         uint64_t &idsRead, uint64_t &unreadable);
    bool readPosition(Automaton::TotalVolume &volume);
    // "cell volume 2 (3 × 2 × 1)": the volume by its place among the objects read and its size.
    QString volumeName(const Automaton::TotalVolume &volume) const;
    void checkIdCount(const Automaton::TotalVolume &volume, bool hasState, uint64_t idsRead);
    std::shared_ptr<Object> refuse(const QString &why);

    QXmlStreamWriter *writer = nullptr;
    QXmlStreamReader *reader = nullptr;
    MaterialIdMap *idMap = nullptr;
    const LiftedTexts *lifted = nullptr;
    int objectNumber = 0;
    QString error;
    QStringList warnings;
};

} // namespace Persistence
} // namespace Model
