#pragma once

#include "Util/IObserver.h"

#include <functional>

class QWidget;

namespace Core {
class ApplicationModel;
}

namespace Ui {
namespace Operations {
class ChangeVolumeVisualizationDialog;
}
namespace Observers {

// The options observer of "Change Visualization": when that operation is current with a chosen
// volume, it opens the visualization dialog filled with the volume's current options. When the
// dialog is accepted, the film colours chosen in it go into the material catalogue and the nine
// options into the operation (which marks itself accepted); a rejected dialog changes nothing.
class ChangeTotalVolumeViewOptionsObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Operations::ChangeVolumeVisualizationDialog &)>;

    ChangeTotalVolumeViewOptionsObserver(Core::ApplicationModel *model, QWidget *mainWindow);

    void update() override;
    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::ApplicationModel *model;
    QWidget *mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
