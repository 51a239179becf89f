#include "ExportDataOperation.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/ExportData/CSVDataExporter.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"

namespace Core {
namespace Operations {

ExportDataOperation::ExportDataOperation(ApplicationModel *model) : Operation(model, "Export Data", ExportDataId) {}

void ExportDataOperation::takeVolume(const std::shared_ptr<Model::Automaton::TotalVolume> &chosen,
                                     const char *message)
{
    volume = chosen;
    postMessage(message);
    askForOptions();
    finish();
}

void ExportDataOperation::execute()
{
    if (volume)
        return;
    for (const auto &object : model->selectionMode().selectedObjects()) {
        if (auto chosen = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object)) {
            model->selectionMode().clearSelection();
            model->selectionMode().setSelectionMode(false);
            model->notifyUpdateObservers();
            takeVolume(chosen, "Cell volume selected.");
            return;
        }
    }
    const auto objects = model->scene().objects();
    if (objects.size() == 1) {
        if (auto only = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(objects.front())) {
            model->selectionMode().setSelectionMode(false);
            takeVolume(only, "Using only cell volume.");
            return;
        }
    }
    postMessage("Select a cell volume and press Enter/Return.");
    model->inputRequest().requestEnter(this);
    model->selectionMode().setSelectionMode(true);
}

// A file that cannot be written, or a field that is not a particle count field, leaves the
// reason in the debug log only; the export still counts as done.
void ExportDataOperation::finish()
{
    if (!volume || fileName.isEmpty() || dataKey.isEmpty()) {
        cancel();
        return;
    }
    {
        CSVDataExporter exporter(fileName);
        const Model::Automaton::CellReadLock lock(*volume);
        exporter.saveDataToFile(dataKey, volume->property(dataKey), volume->sizeX(), volume->sizeY(),
                                volume->sizeZ());
    }
    postMessage(" data saved.");
    model->inputRequest().resetRequest();
    model->selectionMode().clearSelection();
    model->operationFinished();
}

void ExportDataOperation::cancel()
{
    model->inputRequest().resetRequest();
    model->selectionMode().clearSelection();
    model->selectionMode().setSelectionMode(false);
    if (model->currentOperation().get() == this)
        model->operationEnded();
    else
        model->notifyUpdateObservers();
}

} // namespace Operations
} // namespace Core
