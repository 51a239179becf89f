#pragma once

#include "ModalDialogObserver.h"

namespace Ui {
namespace Operations {
class ChangeVolumeVisualizationDialog;
}
namespace Observers {

// The options observer of "Change Visualization": when that operation is current with a chosen
// volume, it opens the visualization dialog filled with the volume's current options. When the
// dialog is accepted, the film colours chosen in it go into the material catalogue and the nine
// options into the operation (which marks itself accepted); a rejected dialog changes nothing.
class ChangeTotalVolumeViewOptionsObserver : public ModalDialogObserver<Operations::ChangeVolumeVisualizationDialog> {
public:
    ChangeTotalVolumeViewOptionsObserver(Core::ApplicationModel *model, QWidget *mainWindow);

    void update() override;
};

} // namespace Observers
} // namespace Ui
