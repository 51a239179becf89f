#include "SimpleReactiveIonEtchingOperation.h"

#include "SimpleReactiveIonEtching.h"
#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <limits>

namespace Core {
namespace Operations {

SimpleReactiveIonEtchingOperation::SimpleReactiveIonEtchingOperation(ApplicationModel *model)
    : PlainVolumeStepOperation(model, "Simple RIE", SimpleRieId, "Operation canceled."),
      directions(SimpleReactiveIonEtching::kFromTop)
{
}

void SimpleReactiveIonEtchingOperation::setDepth(float cells)
{
    depth = cells;
    depthSet = true;
}

void SimpleReactiveIonEtchingOperation::setMaterial(uint32_t id)
{
    materialId = id;
    materialSet = true;
}

void SimpleReactiveIonEtchingOperation::finish()
{
    if (!volume || !depthSet || !materialSet) {
        cancel();
        return;
    }
    const uint32_t cells = !(depth > 0.0f) ? 0u
                           : depth >= float(std::numeric_limits<uint32_t>::max()) ? std::numeric_limits<uint32_t>::max()
                                                                                   : uint32_t(depth);
    runAndEnd([&] { etchReactiveIons(*volume, materialId, cells, directions); },
              materialId == Model::Materials::kSiliconMaterial);
}

} // namespace Operations
} // namespace Core
