#include "ChangeTotalVolumeViewOptionsObserver.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/Visualization/ChangeTotalVolumeVisualizationOptions.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/Operations/ChangeVolumeVisualizationDialog.h"

namespace Ui {
namespace Observers {

ChangeTotalVolumeViewOptionsObserver::ChangeTotalVolumeViewOptionsObserver(Core::ApplicationModel *model,
                                                                           QWidget *mainWindow)
    : ModalDialogObserver(model, mainWindow)
{
}

void ChangeTotalVolumeViewOptionsObserver::update()
{
    const auto operation =
        std::dynamic_pointer_cast<Core::Operations::ChangeTotalVolumeVisualizationOptions>(model->currentOperation());
    if (!operation || !operation->chosenVolume())
        return;
    Operations::ChangeVolumeVisualizationDialog dialog(operation->chosenVolume()->painter().visualizationOptions(),
                                                       mainWindow);
    if (!runDialog(dialog))
        return;
    const auto catalogue = Model::Materials::MaterialFactory::instance();
    for (const auto &film : dialog.filmColors()) {
        Model::Materials::Material material = catalogue->material(film.first);
        material.setMaterialId(film.first);
        material.setColor(film.second);
        catalogue->setMaterial(material);
    }
    operation->setOptions(dialog.options());
}

} // namespace Observers
} // namespace Ui
