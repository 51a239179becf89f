#include "Mutator.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace Fuzz {

namespace {

// Numbers that sizes, ids and lengths must survive.
const char *const kAwkwardNumbers[] = {
    "0",          "-1",          "-2147483649", "4294967295", "4294967296", "18446744073709551616",
    "1e39",       "-1e39",       "nan",         "inf",        "1e-45",      "0x10",
    "99999999999999999999999999", "3.5",        "",           " 7 ",        "1,5",        "+0",
};

// Fragments that readers must refuse or skip cleanly.
const char *const kMarkup[] = {
    "<", ">", "</", "/>", "<!--", "-->", "<![CDATA[", "]]>", "&amp;", "&bogus;", "&#0;", "&#x110000;",
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>", "<!DOCTYPE a [<!ENTITY x \"xxxxxxxx\">]>", "\"", "'", "=",
    "\xff\xfe", "\xc3\x28", "<Object object-type=\"1\" size-x=\"2\" size-y=\"2\" size-z=\"2\"><State>1 2",
    "<Material material-id=\"5\" name=\"\"/>", "<Step type=\"99\">", "<Parameter name=\"Thickness\"/>",
};

constexpr size_t kLongestSpan = 64;   // bytes duplicated or deleted at once
constexpr size_t kDeepestNesting = 20000;

} // namespace

size_t Mutator::below(size_t limit)
{
    return limit == 0 ? 0 : std::uniform_int_distribution<size_t>(0, limit - 1)(random);
}

QByteArray Mutator::mutate(const QByteArray &input)
{
    QByteArray bytes = input;
    const size_t rounds = 1 + below(4);
    for (size_t round = 0; round < rounds; ++round) {
        switch (below(7)) {
        case 0: flipBits(bytes); break;
        case 1: truncate(bytes); break;
        case 2: duplicateSpan(bytes); break;
        case 3: deleteSpan(bytes); break;
        case 4: replaceNumber(bytes); break;
        case 5: nestDeeply(bytes); break;
        default: spliceMarkup(bytes); break;
        }
    }
    return bytes;
}

void Mutator::flipBits(QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const size_t flips = 1 + below(8);
    char *data = bytes.data();
    for (size_t i = 0; i < flips; ++i)
        data[below(size_t(bytes.size()))] ^= char(1u << below(8));
}

void Mutator::truncate(QByteArray &bytes)
{
    bytes.truncate(int(below(size_t(bytes.size()) + 1)));
}

void Mutator::duplicateSpan(QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const size_t start = below(size_t(bytes.size()));
    const size_t length = 1 + below(std::min(kLongestSpan, size_t(bytes.size()) - start));
    const QByteArray span = bytes.mid(int(start), int(length));
    bytes.insert(int(below(size_t(bytes.size()) + 1)), span);
}

void Mutator::deleteSpan(QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const size_t start = below(size_t(bytes.size()));
    bytes.remove(int(start), int(1 + below(std::min(kLongestSpan, size_t(bytes.size()) - start))));
}

// Replaces one run of digits (with its sign and fraction) by an awkward number.
void Mutator::replaceNumber(QByteArray &bytes)
{
    std::vector<std::pair<int, int>> numbers;
    for (int i = 0; i < bytes.size();) {
        if (!std::isdigit(static_cast<unsigned char>(bytes[i]))) {
            ++i;
            continue;
        }
        int end = i;
        while (end < bytes.size() && (std::isdigit(static_cast<unsigned char>(bytes[end])) || bytes[end] == '.'))
            ++end;
        const int start = i > 0 && bytes[i - 1] == '-' ? i - 1 : i;
        numbers.emplace_back(start, end - start);
        i = end;
    }
    if (numbers.empty())
        return;
    const auto &number = numbers[below(numbers.size())];
    bytes.replace(number.first, number.second, kAwkwardNumbers[below(std::size(kAwkwardNumbers))]);
}

void Mutator::nestDeeply(QByteArray &bytes)
{
    const size_t depth = 1 + below(kDeepestNesting);
    QByteArray open, close;
    for (size_t i = 0; i < depth; ++i) {
        open += "<a>";
        close += "</a>";
    }
    const int at = int(below(size_t(bytes.size()) + 1));
    bytes.insert(at, open + (below(2) ? close : QByteArray()));
}

void Mutator::spliceMarkup(QByteArray &bytes)
{
    bytes.insert(int(below(size_t(bytes.size()) + 1)), kMarkup[below(std::size(kMarkup))]);
}

} // namespace Fuzz
