#include "IsotropicFilmDepositionObserver.h"

#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/Operations/IsotropicDepositionDialog.h"

namespace Ui {
namespace Observers {

IsotropicFilmDepositionObserver::IsotropicFilmDepositionObserver(
    Core::Operations::IsotropicFilmDepositionOperation *operation, QWidget *mainWindow)
    : operation(operation),
      mainWindow(mainWindow),
      runDialog([](Operations::IsotropicDepositionDialog &dialog) { return dialog.exec() == QDialog::Accepted; })
{
}

void IsotropicFilmDepositionObserver::update()
{
    Operations::IsotropicDepositionDialog dialog(mainWindow);
    const auto process = Model::Process::ProcessFactory::instance()->process(operation->processId());
    dialog.setMaterialChoices(process.compatibleMaterialRecords());
    if (!runDialog(dialog))
        return;
    operation->setThickness(dialog.thickness());
    operation->setMaterial(dialog.materialId());
}

} // namespace Observers
} // namespace Ui
