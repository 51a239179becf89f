#include "ChangeTotalVolumeVisualizationOptions.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"

namespace Core {
namespace Operations {

ChangeTotalVolumeVisualizationOptions::ChangeTotalVolumeVisualizationOptions(ApplicationModel *model)
    : Operation(model, "Change Visualization", ChangeVisualizationOptionsId)
{
}

void ChangeTotalVolumeVisualizationOptions::execute()
{
    chooseVolumeThenFinish();
}

void ChangeTotalVolumeVisualizationOptions::setOptions(const Model::Rendering::VisualizationOptions &chosen)
{
    optionSet = chosen;
    accepted = true;
}

void ChangeTotalVolumeVisualizationOptions::finish()
{
    if (!volume || !accepted) {
        cancel();
        return;
    }
    volume->painter().applyOptions(optionSet);
    for (const auto &object : model->scene().objects())
        if (auto other = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object))
            other->painter().recolor();
    postMessage("Options changed.");
    model->inputRequest().resetRequest();
    model->operationFinished();
}

void ChangeTotalVolumeVisualizationOptions::cancel()
{
    cancelWithMessage("Operation Canceled!");
}

} // namespace Operations
} // namespace Core
