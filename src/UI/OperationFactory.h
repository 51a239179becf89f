#pragma once

#include "Core/Operations/IOperationFactory.h"

namespace Ui {

class MainWindowPresenter;

// Builds the operation of an operation id together with its observers, which reach the
// user through the presenter's main window.
class OperationFactory : public Core::Operations::IOperationFactory {
public:
    explicit OperationFactory(MainWindowPresenter *presenter) : presenter(presenter) {}

    std::shared_ptr<Core::Operations::Operation> create(uint32_t id) override;
    // Whether `create` gives an operation for this id in this build.
    static bool makes(uint32_t id);

private:
    MainWindowPresenter *presenter;
};

} // namespace Ui
