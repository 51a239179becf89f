#include "BatchRunObserver.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/ObjectOperations/SelectVolumesOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "UI/BatchRun/Dialog/RunProcessesDialog.h"

namespace Ui {
namespace Observers {

BatchRunObserver::BatchRunObserver(Core::ApplicationModel *model, QWidget *mainWindow)
    : model(model), mainWindow(mainWindow), runDialog([](RunProcessesDialog &dialog) { dialog.exec(); })
{
}

void BatchRunObserver::update()
{
    auto op = std::dynamic_pointer_cast<Core::Operations::SelectVolumesOperation>(model->currentOperation());
    if (!op)
        return;
    {
        RunProcessesDialog dialog(mainWindow, op->chosenVolume(), model);
        runDialog(dialog);
    }
    // Photolithography steps leave their masks on the volumes for the view to show.
    for (const auto &object : model->scene().objects()) {
        if (auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object)) {
            volume->clearTopMask();
            volume->clearBottomMask();
        }
    }
}

} // namespace Observers
} // namespace Ui
