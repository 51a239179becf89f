#pragma once

#include "Core/Operations/Operation.h"
#include "Model/Rendering/VisualizationOptions.h"

namespace Core {
namespace Operations {

// "Change Visualization": chooses a cell volume, lets its options observer ask for a new set of
// visualization options (surface algorithm, atomistic and particle views, film colours), and
// hands the set to the volume's painter. Drawing options change no cells, so the operation never
// goes on the undo stack.
class ChangeTotalVolumeVisualizationOptions : public Operation {
public:
    explicit ChangeTotalVolumeVisualizationOptions(ApplicationModel *model);

    void execute() override;
    // Applies the options when a volume is chosen and the dialog was accepted, then recolours
    // every volume of the scene (film colours may have changed); cancels otherwise.
    void finish() override;
    void cancel() override;

    // Written by the options observer when its dialog is accepted.
    void setOptions(const Model::Rendering::VisualizationOptions &chosen);
    const Model::Rendering::VisualizationOptions &options() const { return optionSet; }
    bool isAccepted() const { return accepted; }

private:
    Model::Rendering::VisualizationOptions optionSet;
    bool accepted = false;
};

} // namespace Operations
} // namespace Core
