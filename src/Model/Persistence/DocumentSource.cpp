#include "DocumentSource.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace Model {
namespace Persistence {

namespace {
// Bytes: well within the 2 GiB a byte array can hold.
constexpr qint64 kLargestLiftedDocument = qint64(1) << 30;

// The whole file as the device's text mode hands it out, which drops every carriage return.
// Text mode looks at each byte on its way; one search finds the few documents that hold any.
QByteArray readAllAsText(QFile &file)
{
    const bool textMode = file.isTextModeEnabled();
    file.setTextModeEnabled(false);
    QByteArray bytes = file.readAll();
    file.setTextModeEnabled(textMode);
    if (textMode && std::memchr(bytes.constData(), '\r', size_t(bytes.size()))) {
        char *begin = bytes.data();
        bytes.truncate(int(std::remove(begin, begin + bytes.size(), '\r') - begin));
    }
    return bytes;
}

} // namespace

DocumentSource::DocumentSource(QFile &file, const std::map<uint32_t, LiftableText> &wanted)
{
    if (wanted.empty() || file.size() > kLargestLiftedDocument) {
        reader.setDevice(&file);
        return;
    }
    lifted = std::make_unique<LiftedTexts>(readAllAsText(file), wanted);
    structure.setData(lifted->structure());
    structure.open(QIODevice::ReadOnly);
    reader.setDevice(&structure);
}

} // namespace Persistence
} // namespace Model
