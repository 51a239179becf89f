#pragma once

#include <QByteArray>
#include <cstdint>
#include <map>
#include <vector>

class QXmlStreamReader;

namespace Model {
namespace Persistence {

// A child element of an "Object" whose text its archiver parses straight from the document's
// bytes. Such texts are nearly the whole of a document (one id per cell), and the XML reader
// hands text out an order of magnitude slower than an archiver can parse it from the bytes.
struct LiftableText {
    QByteArray element; // empty: the archiver lifts nothing
    // The bytes the text may hold, each once. A text with any other byte stays with the XML
    // reader, which then reads or refuses it as it would anyway. '<' and '&' are never admitted.
    QByteArray admitted;

    bool isWanted() const { return !element.isEmpty() && !admitted.isEmpty(); }
};

// A document's bytes with the plain texts that archivers asked for taken out. Plain means
// the start tag "<Element>" directly after the start tag of an "Object" of the type the
// archiver reads, then only admitted bytes, then "</Element>". The XML reader reads
// `structure()`, in which a lifted element keeps the line breaks of its text (so the reader's
// line numbers do not move) and gains kAttribute, the index of its text; the archiver that
// stands on such an element gets the text's bytes from text().
class LiftedTexts {
public:
    static constexpr const char *kAttribute = "voxfab-lifted-text";

    struct Span {
        const char *begin;
        const char *end;
    };

    // Lifts nothing from a document that already carries kAttribute somewhere, or whose
    // declared encoding is not UTF-8 (where the bytes of a tag could mean something else).
    // `wanted`: by object type, the text that type's archiver parses itself.
    LiftedTexts(const QByteArray &bytesRead, const std::map<uint32_t, LiftableText> &wanted);

    const QByteArray &structure() const { return lifted.empty() ? document : stripped; }
    // The lifted text of the element the reader stands on; null when its text was not lifted.
    const Span *text(const QXmlStreamReader &reader) const;

private:
    QByteArray document;
    QByteArray stripped;
    std::vector<Span> lifted;
};

} // namespace Persistence
} // namespace Model
