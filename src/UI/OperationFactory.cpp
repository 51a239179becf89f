#include "OperationFactory.h"

#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/ObjectOperations/CopyObject.h"
#include "Core/Operations/ObjectOperations/DeleteObject.h"
#include "Core/Operations/ObjectOperations/MoveObject.h"
#include "Core/Operations/OperationIds.h"
#include "MainWindow.h"
#include "MainWindowPresenter.h"
#include "Observers/CreateSubstrateObserver.h"

namespace Ui {

std::shared_ptr<Core::Operations::Operation> OperationFactory::create(uint32_t id)
{
    using namespace Core::Operations;
    Core::ApplicationModel *model = &presenter->applicationModel();
    QWidget *window = presenter->window();

    // Each operation id gets its case here as its operation class arrives; every other id,
    // known or not, gives no operation, so starting it only cancels the running one.
    switch (id) {
    case CopyId:
        return std::make_shared<CopyObject>(model);
    case CreateSubstrateId: {
        auto op = std::make_shared<CreateSubstrateOperation>(model);
        op->setOptionsObserver(std::make_shared<Observers::CreateSubstrateObserver>(model, window));
        return op;
    }
    case DeleteId:
        return std::make_shared<DeleteObject>(model);
    case MoveId:
        return std::make_shared<MoveObject>(model);
    default:
        return nullptr;
    }
}

} // namespace Ui
