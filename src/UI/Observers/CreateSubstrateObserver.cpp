#include "CreateSubstrateObserver.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/Operations/CreateSubstrateDialog.h"

namespace Ui {
namespace Observers {

CreateSubstrateObserver::CreateSubstrateObserver(Core::ApplicationModel *model, QWidget *mainWindow)
    : model(model),
      mainWindow(mainWindow),
      runDialog([](Operations::CreateSubstrateDialog &dialog) { return dialog.exec() == QDialog::Accepted; })
{
}

void CreateSubstrateObserver::update()
{
    auto op = std::dynamic_pointer_cast<Core::Operations::CreateSubstrateOperation>(model->currentOperation());
    if (!op)
        return;
    Operations::CreateSubstrateDialog dialog(mainWindow);
    dialog.setMaterials(Model::Materials::MaterialFactory::instance()->materials());
    if (!runDialog(dialog))
        return;
    const Util::Vector3D corner = dialog.corner();
    if (dialog.isSpherical())
        op->setSphere(dialog.materialId(), dialog.volumeSize(0), dialog.volumeSize(1), dialog.volumeSize(2), corner,
                      dialog.centre(0), dialog.centre(1), dialog.centre(2), dialog.radius());
    else
        op->setBox(dialog.materialId(), dialog.volumeSize(0), dialog.volumeSize(1), dialog.volumeSize(2), corner,
                   dialog.displacement(0), dialog.displacement(1), dialog.displacement(2), dialog.substrateSize(0),
                   dialog.substrateSize(1), dialog.substrateSize(2));
}

} // namespace Observers
} // namespace Ui
