#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

#include <cstdint>

namespace Core {
namespace Operations {

// "Ion Implantation": implants a band below the top surface of a volume and anneals it. Not
// undoable.
class IonImplantationOperation : public PlainVolumeStepOperation {
public:
    explicit IonImplantationOperation(ApplicationModel *model);

    void finish() override;

    void setDopedMaterial(uint32_t id);
    void setImplantationDepth(float value);
    void setVerticalSpread(float value);
    void setAnnealingDistance(float value);

private:
    uint32_t dopedMaterial = 0;
    float implantationDepth = 0.0f;
    float verticalSpread = 0.0f;
    float annealingDistance = 0.0f;
    bool materialSet = false;
    bool depthSet = false;
    bool spreadSet = false;
    bool annealingSet = false;
};

} // namespace Operations
} // namespace Core
