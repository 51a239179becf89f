#include "RunModelExtractionObserver.h"

#include "ExtractModelDialog.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/ModelExtraction/RunModelExtraction.h"

namespace Ui {
namespace Observers {

using Core::Operations::RunModelExtraction;

RunModelExtractionObserver::RunModelExtractionObserver(Core::ApplicationModel *model, QWidget *mainWindow,
                                                       ExtractModelWindow window)
    : model(model), mainWindow(mainWindow), window(std::move(window))
{
}

void RunModelExtractionObserver::update()
{
    const auto operation = std::dynamic_pointer_cast<RunModelExtraction>(model->currentOperation());
    if (!operation)
        return;
    auto *dialog = new Operations::ExtractModelDialog(operation, mainWindow);
    *window = dialog;
    dialog->show();
}

void DestroyModelExtractionDialogObserver::update()
{
    if (*window)
        (*window)->close();
}

std::shared_ptr<Core::Operations::Operation> makeModelExtraction(Core::ApplicationModel *model, QWidget *mainWindow)
{
    auto operation = std::make_shared<RunModelExtraction>(model);
    const auto window = std::make_shared<QPointer<Operations::ExtractModelDialog>>();
    operation->setOptionsObserver(std::make_shared<RunModelExtractionObserver>(model, mainWindow, window));
    operation->setClosingObserver(std::make_shared<DestroyModelExtractionDialogObserver>(window));
    return operation;
}

} // namespace Observers
} // namespace Ui
