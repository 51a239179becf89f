#include "OperationFactory.h"

#include "Core/Operations/Operation.h"
#include "Core/Operations/OperationIds.h"
#include "MainWindowPresenter.h"

namespace Ui {

std::shared_ptr<Core::Operations::Operation> OperationFactory::create(uint32_t id)
{
    using namespace Core::Operations;
    // Each operation id gets its case here as its operation class arrives; every other id,
    // known or not, gives no operation, so starting it only cancels the running one.
    switch (id) {
    default:
        return nullptr;
    }
}

} // namespace Ui
