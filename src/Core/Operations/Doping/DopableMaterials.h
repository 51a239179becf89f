#pragma once

// Which materials the doping steps dope: the process catalogue's compatible materials of their
// process, as the user edits them in "Manage Compatible Materials".

#include <cstdint>
#include <vector>

namespace Core {
namespace Operations {

// Process catalogue ids whose compatible materials are the dopable ones (and the doped
// materials the dialogs offer).
constexpr uint32_t kSimpleDopingProcess = 13;
constexpr uint32_t kIonImplantationProcess = 14;

// The compatible material ids of `processId`, in the catalogue's order.
std::vector<uint32_t> dopableMaterials(uint32_t processId);

} // namespace Operations
} // namespace Core
