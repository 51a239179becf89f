#pragma once

#include <cstdint>

namespace Model {
namespace ModelExtraction {

// The constants of the lumped beam model. Ids 0 to 15 have fixed values (every Young's modulus
// 7.0e10 Pa but the empty cell's); for larger ids, materials the catalogue added, the
// catalogue's own density and Young's modulus apply (0 for an id it does not hold).
constexpr double kCellVolume = 2.00129819772e-17; // m³ per cell
constexpr uint32_t kFixedConstantCount = 16;      // ids with a fixed entry

double densityOf(uint32_t material);      // kg/m³
double youngModulusOf(uint32_t material); // Pa

} // namespace ModelExtraction
} // namespace Model
