#pragma once

#include "Util/IObserver.h"

#include <functional>
#include <memory>

class QWidget;

namespace Core {
namespace Operations {
class IsotropicFilmEtchingOperation;
}
}

namespace Ui {
namespace Operations {
class IsotropicEtchingDialog;
}
namespace Observers {

// Shows "Isotropic Film Etching" for its operation and on acceptance hands the depth and the
// etched material to the operation.
class IsotropicFilmEtchingObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Operations::IsotropicEtchingDialog &)>;

    IsotropicFilmEtchingObserver(Core::Operations::IsotropicFilmEtchingOperation *operation, QWidget *mainWindow);
    void update() override;

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::Operations::IsotropicFilmEtchingOperation *operation;
    QWidget *mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
