#pragma once

#include "ModalDialogObserver.h"

namespace Ui {
namespace Operations {
class ExportDataDialog;
}
namespace Observers {

// The options observer of "Export Data": when an ExportDataOperation is current, it shows the
// export dialog with the chosen volume's property names and, on acceptance, hands the chosen
// field and file name to the operation. A rejected dialog leaves both empty, so the operation
// cancels.
class ExportDataObserver : public ModalDialogObserver<Operations::ExportDataDialog> {
public:
    ExportDataObserver(Core::ApplicationModel *model, QWidget *mainWindow);

    void update() override;
};

} // namespace Observers
} // namespace Ui
