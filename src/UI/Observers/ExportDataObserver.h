#pragma once

#include "Util/IObserver.h"

#include <functional>

class QWidget;

namespace Core {
class ApplicationModel;
}

namespace Ui {
namespace Operations {
class ExportDataDialog;
}
namespace Observers {

// The options observer of "Export Data": when an ExportDataOperation is current, it shows the
// export dialog with the chosen volume's property names and, on acceptance, hands the chosen
// field and file name to the operation. A rejected dialog leaves both empty, so the operation
// cancels.
class ExportDataObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Operations::ExportDataDialog &)>;

    ExportDataObserver(Core::ApplicationModel *model, QWidget *mainWindow);

    void update() override;
    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::ApplicationModel *model;
    QWidget *mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
