#include "MaterialConflict.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Util/IObserver.h"

namespace Model {
namespace Persistence {

MaterialConflict &MaterialConflict::instance()
{
    static MaterialConflict conflict;
    return conflict;
}

bool MaterialConflict::ask(const Materials::Material &existingMaterial, const Materials::Material &loadedMaterial,
                           MaterialIdMap &idMap)
{
    resolved = false;
    existing = existingMaterial;
    loaded = loadedMaterial;
    map = &idMap;
    if (conflictObserver)
        conflictObserver->update();
    map = nullptr;
    return resolved;
}

void MaterialConflict::resolve(Choice choice, uint32_t replacementId)
{
    MaterialIdMap &idMap = map ? *map : MaterialIdMap::instance();
    auto catalogue = Materials::MaterialFactory::instance();
    switch (choice) {
    case Choice::UseExisting:
        idMap.set(loaded.materialId(), existing.materialId());
        break;
    case Choice::ReplaceExisting:
        idMap.set(loaded.materialId(), loaded.materialId());
        catalogue->setMaterial(loaded);
        break;
    case Choice::UseAnother:
        idMap.set(loaded.materialId(), replacementId);
        break;
    case Choice::AddAsNew:
        addAsNew(loaded, idMap);
        break;
    }
    resolved = true;
}

void MaterialConflict::addAsNew(Materials::Material loadedMaterial, MaterialIdMap &idMap)
{
    auto catalogue = Materials::MaterialFactory::instance();
    const uint32_t newId = catalogue->newMaterialId();
    idMap.set(loadedMaterial.materialId(), newId);
    loadedMaterial.setMaterialId(newId);
    catalogue->setMaterial(loadedMaterial);
}

} // namespace Persistence
} // namespace Model
