#pragma once

#include "Util/IObserver.h"

#include <functional>
#include <memory>

class QWidget;

namespace Core {
class ApplicationModel;
}

namespace Ui {
namespace Operations {
class CreateSubstrateDialog;
}
namespace Observers {

// Opens the "Create Substrate" dialog for the model's current substrate operation and, when it
// is accepted, hands the values to the operation.
class CreateSubstrateObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Operations::CreateSubstrateDialog &)>;

    CreateSubstrateObserver(Core::ApplicationModel *model, QWidget *mainWindow);
    void update() override;

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::ApplicationModel *model;
    QWidget *mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
