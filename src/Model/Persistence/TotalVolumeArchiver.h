#pragma once

#include "Model/Persistence/ObjectArchiver.h"

#include <QByteArray>
#include <QStringRef>
#include <cstdint>
#include <vector>

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

    // A document's bytes with the text of every plain "State" element taken out, so that the
    // XML reader never tokenizes it: the ids are nearly the whole file, and the reader hands
    // text out an order of magnitude slower than the ids can be parsed from the bytes. Plain
    // means "<State>", then only digits and blanks, then "</State>"; any other State is left
    // for the reader as it stands. A lifted element keeps the line breaks of its text (so the
    // reader's line numbers do not move) and gains kLiftedAttribute, the index of its text.
    struct LiftedStates {
        QByteArray structure;
        QByteArray document;
        // [begin, end) byte offsets of each lifted text in `document`.
        std::vector<std::pair<int, int>> texts;
    };
    static constexpr const char *kLiftedAttribute = "voxfab-lifted-state";
    // Lifts nothing from a document that already carries kLiftedAttribute somewhere, or whose
    // declared encoding is not UTF-8 (where the bytes of "<State>" could mean something else).
    static LiftedStates liftStates(const QByteArray &document);

    void setWriter(QXmlStreamWriter *newWriter) override { writer = newWriter; }
    void setReader(QXmlStreamReader *newReader) override { reader = newReader; }
    void setMaterialIdMap(MaterialIdMap *map) override { idMap = map; }
    // The texts lifted out of the document the reader reads; null when nothing was lifted.
    void setLiftedStates(const LiftedStates *states) { lifted = states; }

    // Writes the ids the cells hold, untranslated; holds the cell lock while writing "State".
    bool write(const std::shared_ptr<Object> &object) override;
    // Refuses (null, with readError) missing or non-numeric sizes, grids too large for 32-bit
    // indices or for this computer's memory, and a "State" that does not hold exactly one
    // number per cell.
    std::shared_ptr<Object> read() override;
    QString readError() const override { return error; }

private:
    void writeState(Automaton::TotalVolume &volume);
    bool readState(Automaton::Cell *cells, uint32_t cellCount);
    bool readLiftedState(const std::pair<int, int> &text, Automaton::Cell *cells, uint32_t cellCount);
    // The lifted text the State element the reader stands on stands for, or null.
    const std::pair<int, int> *liftedText() const;
    std::shared_ptr<Object> refuse(const QString &why);

    QXmlStreamWriter *writer = nullptr;
    QXmlStreamReader *reader = nullptr;
    MaterialIdMap *idMap = nullptr;
    const LiftedStates *lifted = nullptr;
    QString error;
};

} // namespace Persistence
} // namespace Model
