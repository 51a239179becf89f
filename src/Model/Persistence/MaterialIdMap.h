#pragma once

#include <algorithm>
#include <cstdint>
#include <map>

namespace Model {
namespace Persistence {

// Translates material ids found in loaded documents into ids of the running catalogue. Each read
// translates its cells through a map of its own, filled by its own materials; `instance()` is the
// process-wide record of every entry settled so far (reads add or overwrite, nothing clears it).
// Used from the interface thread only.
class MaterialIdMap {
public:
    static MaterialIdMap &instance();

    void set(uint32_t loadedId, uint32_t catalogueId) { ids[loadedId] = catalogueId; }
    bool contains(uint32_t loadedId) const { return ids.count(loadedId) != 0; }
    // The catalogue id of `loadedId`, or `loadedId` itself when the map does not hold it.
    uint32_t translate(uint32_t loadedId) const
    {
        const auto found = ids.find(loadedId);
        return found == ids.end() ? loadedId : found->second;
    }
    const std::map<uint32_t, uint32_t> &entries() const { return ids; }
    // Whether translate() gives every id back unchanged (so that cells need no translating).
    bool isIdentity() const
    {
        return std::all_of(ids.begin(), ids.end(), [](const auto &entry) { return entry.first == entry.second; });
    }

private:
    std::map<uint32_t, uint32_t> ids;
};

} // namespace Persistence
} // namespace Model
