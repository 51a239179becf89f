#include "LiftedTexts.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <cstring>

namespace Model {
namespace Persistence {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool declaresOtherEncodingThanUtf8(const QByteArray &document)
{
    if (!document.startsWith("<?xml"))
        return false;
    const int declarationEnd = document.indexOf("?>");
    if (declarationEnd < 0)
        return true;
    const QByteArray declaration = document.left(declarationEnd);
    const int key = declaration.indexOf("encoding");
    if (key < 0)
        return false;
    const int quote = declaration.indexOf('=', key);
    if (quote < 0)
        return true;
    const QByteArray value = declaration.mid(quote + 1).trimmed();
    return !(value.startsWith("\"UTF-8\"") || value.startsWith("'UTF-8'") || value.startsWith("\"utf-8\"")
             || value.startsWith("'utf-8'"));
}

// Whether the tag at `start` directly follows the start tag of an "Object" of `objectType`:
// elements of the same name elsewhere belong to other readers, which must find them as they are.
bool followsObjectTag(const QByteArray &document, int start, uint32_t objectType)
{
    static const QByteArray objectTag("<Object");
    int tagEnd = start;
    while (tagEnd > 0 && isBlank(document[tagEnd - 1]))
        --tagEnd;
    if (tagEnd < 2 || document[tagEnd - 1] != '>' || document[tagEnd - 2] == '/')
        return false;
    const int tagStart = document.lastIndexOf('<', tagEnd - 1);
    if (tagStart < 0)
        return false;
    const QByteArray tag = document.mid(tagStart, tagEnd - tagStart);
    if (!tag.startsWith(objectTag) || !isBlank(tag[objectTag.size()]))
        return false;
    const QByteArray type = QByteArray::number(objectType);
    for (const char quote : {'"', '\''}) {
        const QByteArray attribute = "object-type=" + QByteArray(1, quote) + type + quote;
        const int at = tag.indexOf(attribute);
        if (at > 0 && isBlank(tag[at - 1]))
            return true;
    }
    return false;
}

// A text to take out: the start tag at `tag`, the text in [textBegin, textEnd).
struct Lift {
    int tag;
    int textBegin;
    int textEnd;
    const QByteArray *element;
};

// The end of the run of admitted bytes from `begin`. Lifted texts are nearly the whole
// document, so the bytes are looked up eight at a time with one branch.
int admittedRunEnd(const char *bytes, int begin, int size, const bool (&admits)[256])
{
    const auto admitted = [&](int i) { return admits[uchar(bytes[i])]; };
    int end = begin;
    while (size - end >= 8
           && (admitted(end) & admitted(end + 1) & admitted(end + 2) & admitted(end + 3) & admitted(end + 4)
               & admitted(end + 5) & admitted(end + 6) & admitted(end + 7)))
        end += 8;
    while (end < size && admitted(end))
        ++end;
    return end;
}

void findLifts(const QByteArray &document, uint32_t objectType, const LiftableText &wanted, std::vector<Lift> &lifts)
{
    const QByteArray open = '<' + wanted.element + '>';
    const QByteArray close = "</" + wanted.element + '>';
    bool admits[256] = {};
    for (const char c : wanted.admitted)
        admits[uchar(c)] = c != '<' && c != '&';
    const char *bytes = document.constData();
    const int size = document.size();
    for (int start = document.indexOf(open); start >= 0; start = document.indexOf(open, start + 1)) {
        if (!followsObjectTag(document, start, objectType))
            continue;
        const int textBegin = start + open.size();
        const int textEnd = admittedRunEnd(bytes, textBegin, size, admits);
        if (size - textEnd < close.size() || std::memcmp(bytes + textEnd, close.constData(), size_t(close.size())) != 0)
            continue;
        lifts.push_back({start, textBegin, textEnd, &wanted.element});
        start = textEnd;
    }
}

// Appends the line breaks of [begin, end) to `out`, in order, so that lines keep their numbers.
void appendLineBreaks(const char *begin, const char *end, QByteArray &out)
{
    const auto find = [end](const char *from, char c) {
        const void *found = std::memchr(from, c, size_t(end - from));
        return found ? static_cast<const char *>(found) : end;
    };
    const char *lineFeed = find(begin, '\n');
    const char *carriageReturn = find(begin, '\r');
    while (lineFeed != end || carriageReturn != end) {
        if (lineFeed < carriageReturn) {
            out.append('\n');
            lineFeed = find(lineFeed + 1, '\n');
        } else {
            out.append('\r');
            carriageReturn = find(carriageReturn + 1, '\r');
        }
    }
}

} // namespace

LiftedTexts::LiftedTexts(const QByteArray &bytesRead, const std::map<uint32_t, LiftableText> &wanted)
    : document(bytesRead)
{
    if (document.contains(kAttribute) || declaresOtherEncodingThanUtf8(document))
        return;
    std::vector<Lift> lifts;
    for (const auto &typeAndText : wanted)
        if (typeAndText.second.isWanted())
            findLifts(document, typeAndText.first, typeAndText.second, lifts);
    if (lifts.empty())
        return;
    std::sort(lifts.begin(), lifts.end(), [](const Lift &a, const Lift &b) { return a.tag < b.tag; });

    const char *bytes = document.constData();
    int copied = 0;
    for (const Lift &lift : lifts) {
        stripped.append(bytes + copied, lift.tag - copied);
        stripped.append('<').append(*lift.element).append(' ').append(kAttribute).append("=\"");
        stripped.append(QByteArray::number(qulonglong(lifted.size()))).append("\">");
        appendLineBreaks(bytes + lift.textBegin, bytes + lift.textEnd, stripped);
        lifted.push_back({bytes + lift.textBegin, bytes + lift.textEnd});
        copied = lift.textEnd;
    }
    stripped.append(bytes + copied, document.size() - copied);
}

const LiftedTexts::Span *LiftedTexts::text(const QXmlStreamReader &reader) const
{
    if (lifted.empty())
        return nullptr;
    bool ok = false;
    const qulonglong index = reader.attributes().value(QLatin1String(kAttribute)).toULongLong(&ok);
    return ok && index < lifted.size() ? &lifted[size_t(index)] : nullptr;
}

} // namespace Persistence
} // namespace Model
