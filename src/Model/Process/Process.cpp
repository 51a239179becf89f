#include "Process.h"

#include "Model/Materials/MaterialFactory.h"

#include <algorithm>
#include <ostream>

namespace Model {
namespace Process {

Process::Process(const QString &name, uint32_t processId, const std::vector<uint32_t> &compatibleMaterials)
    : processName(name), id(processId), materialIds(compatibleMaterials)
{
}

void Process::setCompatibleMaterials(const std::vector<uint32_t> &ids)
{
    materialIds = ids;
}

void Process::appendCompatibleMaterial(uint32_t materialId)
{
    materialIds.push_back(materialId);
}

void Process::removeCompatibleMaterial(uint32_t materialId)
{
    materialIds.erase(std::remove(materialIds.begin(), materialIds.end(), materialId), materialIds.end());
}

bool Process::isCompatible(uint32_t materialId) const
{
    return std::find(materialIds.begin(), materialIds.end(), materialId) != materialIds.end();
}

std::vector<Materials::Material> Process::compatibleMaterialRecords() const
{
    const auto catalogue = Materials::MaterialFactory::instance();
    std::vector<Materials::Material> records;
    records.reserve(materialIds.size());
    for (uint32_t materialId : materialIds) {
        Materials::Material material = catalogue->material(materialId);
        if (material.materialId() != 0)
            records.push_back(material);
    }
    return records;
}

bool Process::operator==(const Process &other) const
{
    return id == other.id && processName == other.processName && materialIds == other.materialIds;
}

std::ostream &operator<<(std::ostream &out, const Process &process)
{
    out << "Process(" << process.processId() << " \"" << process.name().toStdString() << "\" [";
    const char *separator = "";
    for (uint32_t materialId : process.compatibleMaterials()) {
        out << separator << materialId;
        separator = ";";
    }
    return out << "])";
}

void PrintTo(const Process &process, std::ostream *out)
{
    *out << process;
}

} // namespace Process
} // namespace Model
