#include "DocumentSource.h"

#include <QFile>

namespace Model {
namespace Persistence {

namespace {
// Bytes: well within the 2 GiB a byte array can hold.
constexpr qint64 kLargestLiftedDocument = qint64(1) << 30;
} // namespace

DocumentSource::DocumentSource(QFile &file, const std::map<uint32_t, LiftableText> &wanted)
{
    if (wanted.empty() || file.size() > kLargestLiftedDocument) {
        reader.setDevice(&file);
        return;
    }
    lifted = std::make_unique<LiftedTexts>(file.readAll(), wanted);
    structure.setData(lifted->structure());
    structure.open(QIODevice::ReadOnly);
    reader.setDevice(&structure);
}

} // namespace Persistence
} // namespace Model
