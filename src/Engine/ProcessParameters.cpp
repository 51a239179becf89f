#include "ProcessParameters.h"

#include "Engine/ProcessParameterNames.h"
#include "Model/Materials/MaterialFactory.h"

#include <QColor>

namespace Engine {

namespace {
constexpr int kOpaque = 255;
} // namespace

void addMaterialParameters(ProcessData &step, const QString &base, uint32_t materialId, bool idVisible)
{
    // An id the catalogue does not hold gives its default entry: "Empty" in the default grey.
    const Model::Materials::Material material = Model::Materials::MaterialFactory::instance()->material(materialId);
    QColor color = material.toQColor();
    color.setAlpha(kOpaque);
    step.addProcessParameter(Parameters::idOf(base), materialId, idVisible);
    step.addProcessParameter(base, material.name(), true);
    step.addProcessParameter(Parameters::colorOf(base), color, false);
}

} // namespace Engine
