#include "SnapshotRecords.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"

#include <QFile>
#include <charconv>
#include <cstring>
#include <vector>

namespace Model {
namespace Persistence {

namespace {

constexpr size_t kBufferBytes = 1 << 20;
constexpr size_t kLongestNumber = 12; // a blank and the ten digits of a 32-bit number, with room

// Reads a file in large blocks and hands out whitespace-separated tokens and line ends.
class TokenStream {
public:
    explicit TokenStream(QFile &file) : file(file), buffer(kBufferBytes) {}

    // Skips blanks within the line; false at the end of the file.
    bool skipBlanks()
    {
        for (;;) {
            if (pos == end && !refill())
                return false;
            const char c = buffer[pos];
            if (c != ' ' && c != '\t' && c != '\r')
                return true;
            ++pos;
        }
    }

    bool atLineEnd()
    {
        return skipBlanks() && buffer[pos] == '\n';
    }

    void skipLine()
    {
        for (;;) {
            if (pos == end && !refill())
                return;
            const char *start = buffer.data() + pos;
            const void *newline = std::memchr(start, '\n', end - pos);
            if (newline) {
                pos += static_cast<const char *>(newline) - start + 1;
                return;
            }
            pos = end;
        }
    }

    // The next token of the current line; empty at a line end or the end of the file.
    std::string token()
    {
        std::string out;
        if (!skipBlanks() || buffer[pos] == '\n')
            return out;
        for (;;) {
            if (pos == end && !refill())
                return out;
            const char c = buffer[pos];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
                return out;
            out.push_back(c);
            ++pos;
        }
    }

    // The next unsigned number, crossing line ends as any whitespace; false when there is none.
    bool number(uint32_t &value)
    {
        for (;;) {
            if (pos == end && !refill())
                return false;
            const char c = buffer[pos];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                break;
            ++pos;
        }
        uint64_t v = 0;
        bool any = false;
        for (;;) {
            if (pos == end && !refill())
                break;
            const char c = buffer[pos];
            if (c < '0' || c > '9')
                break;
            v = v * 10 + uint64_t(c - '0');
            if (v > 0xFFFFFFFFull)
                return false;
            any = true;
            ++pos;
        }
        value = uint32_t(v);
        return any;
    }

private:
    bool refill()
    {
        const qint64 got = file.read(buffer.data(), qint64(buffer.size()));
        pos = 0;
        end = got > 0 ? size_t(got) : 0;
        return end > 0;
    }

    QFile &file;
    std::vector<char> buffer;
    size_t pos = 0;
    size_t end = 0;
};

} // namespace

bool appendSnapshot(const QString &path, const std::string &name, uint32_t instance,
                    Automaton::TotalVolume &volume)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;

    std::vector<char> out;
    out.reserve(kBufferBytes + kLongestNumber);
    out.insert(out.end(), name.begin(), name.end());
    auto appendNumber = [&out](uint32_t v) {
        char digits[kLongestNumber];
        digits[0] = ' ';
        const auto result = std::to_chars(digits + 1, digits + sizeof(digits), v);
        out.insert(out.end(), digits, result.ptr);
    };
    appendNumber(instance);

    bool ok = true;
    {
        const Automaton::CellReadLock lock(volume);
        const Automaton::Cell *cells = lock.cells();
        const uint32_t count = volume.cellCount();
        for (uint32_t i = 0; i < count && ok; ++i) {
            appendNumber(cells[i].material());
            if (out.size() >= kBufferBytes) {
                ok = file.write(out.data(), qint64(out.size())) == qint64(out.size());
                out.clear();
            }
        }
    }
    out.push_back('\n');
    ok = ok && file.write(out.data(), qint64(out.size())) == qint64(out.size());
    return ok && file.flush();
}

bool restoreSnapshot(const QString &path, const std::string &name, uint32_t instance,
                     Automaton::TotalVolume &volume)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    TokenStream in(file);
    const std::string wantedInstance = std::to_string(instance);
    while (in.skipBlanks()) {
        if (in.atLineEnd()) {
            in.skipLine();
            continue;
        }
        if (in.token() != name || in.token() != wantedInstance) {
            in.skipLine();
            continue;
        }
        std::vector<uint32_t> materials(volume.cellCount());
        for (uint32_t &id : materials)
            if (!in.number(id))
                return false;
        const Automaton::CellLock lock(volume);
        Automaton::Cell *cells = lock.cells();
        for (size_t i = 0; i < materials.size(); ++i)
            cells[i].setMaterial(materials[i]);
        return true;
    }
    return false;
}

} // namespace Persistence
} // namespace Model
