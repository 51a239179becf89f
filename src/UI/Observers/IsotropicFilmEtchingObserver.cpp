#include "IsotropicFilmEtchingObserver.h"

#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/Operations/IsotropicEtchingDialog.h"

namespace Ui {
namespace Observers {

IsotropicFilmEtchingObserver::IsotropicFilmEtchingObserver(
    Core::Operations::IsotropicFilmEtchingOperation *operation, QWidget *mainWindow)
    : operation(operation),
      mainWindow(mainWindow),
      runDialog([](Operations::IsotropicEtchingDialog &dialog) { return dialog.exec() == QDialog::Accepted; })
{
}

void IsotropicFilmEtchingObserver::update()
{
    Operations::IsotropicEtchingDialog dialog(mainWindow);
    dialog.setMaterialChoices(Model::Process::ProcessFactory::instance()
                                  ->process(Core::Operations::IsotropicFilmEtchingOperation::kEtchingProcess)
                                  .compatibleMaterialRecords());
    if (!runDialog(dialog))
        return;
    operation->setDepth(dialog.depth());
    operation->setMaterial(dialog.materialId());
}

} // namespace Observers
} // namespace Ui
