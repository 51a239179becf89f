#pragma once

#include "Util/IObserver.h"

#include <functional>
#include <memory>

class QWidget;

namespace Core {
namespace Operations {
class IsotropicFilmDepositionOperation;
}
}

namespace Ui {
namespace Operations {
class IsotropicDepositionDialog;
}
namespace Observers {

// Shows "Isotropic Film Deposition" for its operation, offering the materials of the operation's
// process, and on acceptance hands the thickness and the material to the operation.
class IsotropicFilmDepositionObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Operations::IsotropicDepositionDialog &)>;

    IsotropicFilmDepositionObserver(Core::Operations::IsotropicFilmDepositionOperation *operation, QWidget *mainWindow);
    void update() override;

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::Operations::IsotropicFilmDepositionOperation *operation;
    QWidget *mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
