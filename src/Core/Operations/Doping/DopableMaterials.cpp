#include "DopableMaterials.h"

#include "Model/Process/ProcessFactory.h"

namespace Core {
namespace Operations {

std::vector<uint32_t> dopableMaterials(uint32_t processId)
{
    return Model::Process::ProcessFactory::instance()->process(processId).compatibleMaterials();
}

} // namespace Operations
} // namespace Core
