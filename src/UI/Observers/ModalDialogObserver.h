#pragma once

#include "Util/IObserver.h"

#include <QDialog>
#include <functional>

class QWidget;

namespace Core {
class ApplicationModel;
}

namespace Ui {
namespace Observers {

// The shared part of an observer that answers the model's current operation with a modal
// `Dialog` over the main window: the model, the window, and how the dialog is run.
template <class Dialog>
class ModalDialogObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Dialog &)>;

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

protected:
    ModalDialogObserver(Core::ApplicationModel *model, QWidget *mainWindow)
        : model(model),
          mainWindow(mainWindow),
          runDialog([](Dialog &dialog) { return dialog.exec() == QDialog::Accepted; })
    {
    }

    Core::ApplicationModel *const model;
    QWidget *const mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
