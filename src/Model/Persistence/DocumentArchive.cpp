#include "DocumentArchive.h"

#include "Model/Persistence/TotalVolumeArchiver.h"

namespace Model {
namespace Persistence {

DocumentArchive::DocumentArchive()
{
    setArchiver(TotalVolumeArchiver::kObjectType, std::make_shared<TotalVolumeArchiver>());
}

DocumentArchive::~DocumentArchive() = default;

std::shared_ptr<ObjectArchiver> DocumentArchive::archiver(uint32_t objectType) const
{
    const auto found = archivers.find(objectType);
    return found == archivers.end() ? nullptr : found->second;
}

void DocumentArchive::setArchiver(uint32_t objectType, std::shared_ptr<ObjectArchiver> archiver)
{
    archivers[objectType] = std::move(archiver);
}

std::map<uint32_t, LiftableText> DocumentArchive::liftableTexts() const
{
    std::map<uint32_t, LiftableText> texts;
    for (const auto &typeAndArchiver : archivers) {
        if (!typeAndArchiver.second)
            continue;
        const LiftableText text = typeAndArchiver.second->liftableText();
        if (text.isWanted())
            texts[typeAndArchiver.first] = text;
    }
    return texts;
}

} // namespace Persistence
} // namespace Model
