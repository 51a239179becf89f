#include "ElectrodepositionObserver.h"

#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/Operations/ElectroplatingDialog.h"

namespace Ui {
namespace Observers {

ElectrodepositionObserver::ElectrodepositionObserver(
    Core::Operations::ElectrodepositionOperation *operation, QWidget *mainWindow)
    : operation(operation),
      mainWindow(mainWindow),
      runDialog([](Operations::ElectroplatingDialog &dialog) { return dialog.exec() == QDialog::Accepted; })
{
}

void ElectrodepositionObserver::update()
{
    Operations::ElectroplatingDialog dialog(mainWindow);
    const auto materials = Model::Materials::MaterialFactory::instance()->materials();
    dialog.setMaterialChoices(materials);
    dialog.setConductingMaterialChoices(materials);
    if (!runDialog(dialog))
        return;
    operation->setThickness(dialog.thickness());
    operation->setDepositedMaterial(dialog.materialId());
    operation->setConductingMaterial(dialog.conductingMaterialId());
}

} // namespace Observers
} // namespace Ui
