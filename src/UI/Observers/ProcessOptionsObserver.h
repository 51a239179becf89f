#pragma once

#include "Core/ApplicationModel.h"
#include "Util/IObserver.h"

#include <QDialog>
#include <functional>
#include <memory>

class QWidget;

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
class ProcessOptionsObserver : public Util::IObserver {
public:
    using DialogType = Dialog;
    using OperationType = Operation;
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Dialog &)>;

    ProcessOptionsObserver(Core::ApplicationModel *model, QWidget *mainWindow)
        : model(model),
          mainWindow(mainWindow),
          runDialog([](Dialog &dialog) { return dialog.exec() == QDialog::Accepted; })
    {
    }

    void update() override
    {
        const auto operation = std::dynamic_pointer_cast<Operation>(model->currentOperation());
        if (!operation)
            return;
        Dialog dialog(mainWindow);
        dialog.offerChoicesFor(*operation);
        if (runDialog(dialog))
            dialog.applyTo(*operation);
    }

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::ApplicationModel *model;
    QWidget *mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
