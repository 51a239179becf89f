#pragma once

#include "Model/Materials/Material.h"

#include <QString>
#include <cstdint>
#include <iosfwd>
#include <vector>

namespace Model {
namespace Process {

// One entry of the process catalogue: a process kind and the materials it may act on, in the
// order they were added. Id 0 means no process.
class Process {
public:
    Process() = default;
    Process(const QString &name, uint32_t processId, const std::vector<uint32_t> &compatibleMaterials = {});

    const QString &name() const { return processName; }
    void setName(const QString &name) { processName = name; }

    uint32_t processId() const { return id; }
    void setProcessId(uint32_t processId) { id = processId; }

    const std::vector<uint32_t> &compatibleMaterials() const { return materialIds; }
    void setCompatibleMaterials(const std::vector<uint32_t> &materialIds);
    void appendCompatibleMaterial(uint32_t materialId);
    // Removes every occurrence of `materialId`.
    void removeCompatibleMaterial(uint32_t materialId);
    bool isCompatible(uint32_t materialId) const;

    // The catalogue record of each compatible material, in list order; ids that the material
    // catalogue does not hold are left out. Process dialogs fill their material choosers from this.
    std::vector<Materials::Material> compatibleMaterialRecords() const;

    bool operator==(const Process &other) const;
    bool operator!=(const Process &other) const { return !(*this == other); }

private:
    QString processName;
    uint32_t id = 0;
    std::vector<uint32_t> materialIds;
};

// Readable form for test failure messages: Process(3 "CVD" [3;16]).
std::ostream &operator<<(std::ostream &out, const Process &process);
void PrintTo(const Process &process, std::ostream *out);

} // namespace Process
} // namespace Model
