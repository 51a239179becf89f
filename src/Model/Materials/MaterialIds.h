#pragma once

#include <cstdint>

namespace Model {
namespace Materials {

// Catalogue ids that the process steps treat specially. The catalogue's defaults give them
// their names and colours; user-added materials get ids from MaterialFactory::kFirstUserMaterialId.
constexpr uint32_t kEmptyMaterial = 0;     // an empty cell
constexpr uint32_t kSiliconMaterial = 1;   // crystalline silicon: steps that may change it make its lattice out of date
constexpr uint32_t kThermalOxideMaterial = 3;
constexpr uint32_t kNegativePhotoresistMaterial = 12; // photolithography inverts its masks
constexpr uint32_t kNDopedSiliconMaterial = 14;
constexpr uint32_t kPDopedSiliconMaterial = 15;

} // namespace Materials
} // namespace Model
