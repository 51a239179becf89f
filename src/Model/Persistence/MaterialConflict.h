#pragma once

#include "Model/Materials/Material.h"

#include <cstdint>
#include <memory>

namespace Util {
class IObserver;
}

namespace Model {
namespace Persistence {

class MaterialIdMap;

// The clash, while a document is read, between a loaded material and the catalogue material
// that has its id but another name. The registered observer (the interface's conflict dialog)
// is asked to settle it; it calls resolve() with the user's choice. Process-wide, used from
// the interface thread only.
class MaterialConflict {
public:
    enum class Choice {
        UseExisting,     // loaded id → existing id
        ReplaceExisting, // the loaded material takes the existing one's place in the catalogue
        UseAnother,      // loaded id → another catalogue material
        AddAsNew,        // the loaded material joins the catalogue under a new id
    };

    static MaterialConflict &instance();

    void setObserver(std::shared_ptr<Util::IObserver> observer) { conflictObserver = std::move(observer); }
    std::shared_ptr<Util::IObserver> observer() const { return conflictObserver; }

    const Materials::Material &existingMaterial() const { return existing; }
    const Materials::Material &loadedMaterial() const { return loaded; }
    bool isResolved() const { return resolved; }

    // Stores the two materials and notifies the observer, if any; returns whether it resolved
    // the conflict. `map` is what resolve() writes into.
    bool ask(const Materials::Material &existingMaterial, const Materials::Material &loadedMaterial,
             MaterialIdMap &map);
    // Applies a choice to the map and the catalogue and marks the conflict resolved.
    // `replacementId` is the catalogue material chosen for UseAnother.
    void resolve(Choice choice, uint32_t replacementId = 0);

    // The fallback when nobody resolves: the loaded material joins under a new id.
    static void addAsNew(Materials::Material loadedMaterial, MaterialIdMap &map);

private:
    MaterialConflict() = default;

    Materials::Material existing;
    Materials::Material loaded;
    MaterialIdMap *map = nullptr;
    bool resolved = false;
    std::shared_ptr<Util::IObserver> conflictObserver;
};

} // namespace Persistence
} // namespace Model
