#pragma once

#include "Material.h"

#include <QMutex>
#include <QString>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class QXmlStreamReader;

namespace Model {
namespace Materials {

// The process-wide material catalogue: material id → Material, kept in "materials.xml" in the
// folder "Voxfab" under the home directory. Every public function holds the catalogue's mutex for
// its whole run, so automata may read it from worker threads while the interface edits it; the
// mutex is not recursive, so no public function calls another.
class MaterialFactory {
public:
    // Ids handed out by newMaterialId() start here; the built-in materials lie below.
    static constexpr uint32_t kFirstUserMaterialId = 2000;
    static constexpr const char *kFileName = "materials.xml";

    static std::shared_ptr<MaterialFactory> instance();

    MaterialFactory(const MaterialFactory &) = delete;
    MaterialFactory &operator=(const MaterialFactory &) = delete;

    // A copy of the entry, or a default Material (id 0, "Empty") when there is none.
    Material material(uint32_t id);
    // The first entry in id order whose name equals `name` exactly, or a default Material.
    Material materialByName(const QString &name);
    // All entries in ascending id order.
    std::vector<Material> materials();
    // Inserts or replaces the entry under its id; id 0 is refused (returns false).
    bool setMaterial(const Material &material);
    // A random id in 2000..32766 that the catalogue does not hold yet.
    uint32_t newMaterialId();

    // Replaces the catalogue with the entries of "materials.xml". False when the file is missing
    // or unreadable or its root is not "Materials" (the catalogue is then untouched), or when it
    // is not well-formed XML (the catalogue then holds what was read before the error).
    bool loadMaterials();
    // Writes the whole catalogue to "materials.xml", creating the folder when needed; returns
    // whether the file was written.
    bool saveMaterials();
    // Replaces the catalogue with the built-in materials.
    void createDefaultMaterials();

    // Grows by one with every call that adds, changes or drops entries (setting an entry to what
    // it already is does not count). Whoever keeps a copy of the catalogue, as a painter does for
    // its colours, compares this with the count it copied at to know whether the copy is stale.
    uint64_t changeCount() const { return changes.load(std::memory_order_acquire); }

private:
    MaterialFactory() = default;

    void countChange() { changes.fetch_add(1, std::memory_order_acq_rel); }

    std::map<uint32_t, Material> catalogue;
    std::atomic<uint64_t> changes{0};
    QMutex mutex;
};

} // namespace Materials
} // namespace Model
