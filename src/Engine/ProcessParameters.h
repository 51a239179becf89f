#pragma once

#include "Engine/ProcessData.h"

#include <QString>
#include <cstdint>

namespace Engine {

// Adds the three parameters of a material: `base` + "_Id" (the catalogue id), `base` (its name,
// visible) and `base` + "_Color" (its colour, hidden). The id is hidden unless `idVisible`
// (the doping steps show it).
void addMaterialParameters(ProcessData &step, const QString &base, uint32_t materialId, bool idVisible = false);

} // namespace Engine
