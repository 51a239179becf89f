#include "ExportDataObserver.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/ExportData/ExportDataOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "UI/Operations/ExportDataDialog.h"

namespace Ui {
namespace Observers {

ExportDataObserver::ExportDataObserver(Core::ApplicationModel *model, QWidget *mainWindow)
    : ModalDialogObserver(model, mainWindow)
{
}

void ExportDataObserver::update()
{
    const auto operation = std::dynamic_pointer_cast<Core::Operations::ExportDataOperation>(model->currentOperation());
    if (!operation || !operation->chosenVolume())
        return;
    Operations::ExportDataDialog dialog(operation->chosenVolume()->propertyNames(), mainWindow);
    if (!runDialog(dialog))
        return;
    operation->setDataKey(dialog.chosenField());
    operation->setFileName(dialog.fileName());
}

} // namespace Observers
} // namespace Ui
