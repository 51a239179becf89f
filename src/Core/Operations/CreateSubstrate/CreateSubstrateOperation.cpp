#include "CreateSubstrateOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/CreateSubstrate/SubstrateBuilder.h"
#include "Model/Automaton/TotalVolume.h"

#include <QString>

namespace Core {
namespace Operations {

CreateSubstrateOperation::CreateSubstrateOperation(ApplicationModel *model)
    : ObjectOperation(model, "Create Substrate", CreateSubstrateId)
{
}

void CreateSubstrateOperation::execute()
{
    askForOptions();
    finish();
}

void CreateSubstrateOperation::cancel()
{
    cancelWithMessage();
}

void CreateSubstrateOperation::storeVolume(uint32_t material, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                                           const Util::Vector3D &corner)
{
    materialId = material;
    volumeSize[0] = sizeX;
    volumeSize[1] = sizeY;
    volumeSize[2] = sizeZ;
    origin = corner;
    parametersSet = true;
}

void CreateSubstrateOperation::setBox(uint32_t material, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                                      const Util::Vector3D &corner, uint32_t dx, uint32_t dy, uint32_t dz,
                                      uint32_t substrateX, uint32_t substrateY, uint32_t substrateZ)
{
    storeVolume(material, sizeX, sizeY, sizeZ, corner);
    displacement[0] = dx;
    displacement[1] = dy;
    displacement[2] = dz;
    substrateSize[0] = substrateX;
    substrateSize[1] = substrateY;
    substrateSize[2] = substrateZ;
    spherical = false;
}

void CreateSubstrateOperation::setSphere(uint32_t material, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                                         const Util::Vector3D &corner, uint32_t centreX, uint32_t centreY,
                                         uint32_t centreZ, uint32_t sphereRadius)
{
    storeVolume(material, sizeX, sizeY, sizeZ, corner);
    centre[0] = centreX;
    centre[1] = centreY;
    centre[2] = centreZ;
    radius = sphereRadius;
    spherical = true;
}

void CreateSubstrateOperation::finish()
{
    if (!parametersSet)
        return;
    QString why;
    if (!Model::Automaton::TotalVolume::sizeIsAcceptable(volumeSize[0], volumeSize[1], volumeSize[2], &why)) {
        // The dialog refuses such sizes already; this guards every other caller.
        parametersSet = false;
        postMessage("Volume too large. " + why.toStdString());
        return;
    }

    SubstrateBuilder builder;
    builder.setMaterial(materialId);
    builder.setVolumeSize(volumeSize[0], volumeSize[1], volumeSize[2]);
    builder.setOrigin(origin);
    if (spherical)
        builder.setSphere(centre[0], centre[1], centre[2], radius);
    else
        builder.setBox(substrateSize[0], substrateSize[1], substrateSize[2], displacement[0], displacement[1],
                       displacement[2]);
    created = builder.build();
    model->scene().addObject(created);
    postMessage("substrate created successfully.");
    model->operationFinished();
}

bool CreateSubstrateOperation::undo()
{
    model->scene().removeObject(created);
    model->notifyUpdateObservers();
    return true;
}

bool CreateSubstrateOperation::redo()
{
    model->scene().addObject(created);
    model->notifyUpdateObservers();
    return true;
}

} // namespace Operations
} // namespace Core
