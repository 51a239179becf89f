#pragma once

#include "Core/ApplicationModel.h"
#include "ModalDialogObserver.h"

#include <memory>

namespace Ui {
namespace Observers {

// The options observer of a process step. When the model's current operation is an
// `Operation`, it shows a `Dialog` modally over the main window, after letting the dialog offer
// the choices that depend on the operation; only when the dialog is accepted does it hand the
// values to the operation. Anything else that is current is left alone.
//
// `Dialog` is an Operations::ProcessOptionsDialog with
//   offerChoicesFor(const Operation &)   (the base's does nothing), and
//   applyTo(Operation &) const.
template <class Dialog, class Operation>
class ProcessOptionsObserver : public ModalDialogObserver<Dialog> {
public:
    using DialogType = Dialog;
    using OperationType = Operation;

    ProcessOptionsObserver(Core::ApplicationModel *model, QWidget *mainWindow)
        : ModalDialogObserver<Dialog>(model, mainWindow)
    {
    }

    void update() override
    {
        const auto operation = std::dynamic_pointer_cast<Operation>(this->model->currentOperation());
        if (!operation)
            return;
        Dialog dialog(this->mainWindow);
        dialog.offerChoicesFor(*operation);
        if (this->runDialog(dialog))
            dialog.applyTo(*operation);
    }
};

} // namespace Observers
} // namespace Ui
