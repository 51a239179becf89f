#pragma once

#include "Util/IObserver.h"

#include <functional>
#include <memory>

class QWidget;

namespace Core {
namespace Operations {
class ElectrodepositionOperation;
}
}

namespace Ui {
namespace Operations {
class ElectroplatingDialog;
}
namespace Observers {

// Shows "Electroplating Options" for its operation, both material lists offering the whole
// catalogue, and on acceptance hands the thickness and the two materials to the operation.
class ElectrodepositionObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Operations::ElectroplatingDialog &)>;

    ElectrodepositionObserver(Core::Operations::ElectrodepositionOperation *operation, QWidget *mainWindow);
    void update() override;

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::Operations::ElectrodepositionOperation *operation;
    QWidget *mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
