#pragma once

#include "Util/IObserver.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace Core {
class ApplicationModel;
}

namespace Ui {
class RunProcessesDialog;
namespace Observers {

// Opens "Batch Run" on the volume that the model's volume-selection operation chose (or on
// none), and when it closes puts every volume of the scene back in its plain state: masks
// cleared, surfaces rebuilt.
class BatchRunObserver : public Util::IObserver {
public:
    // Runs the dialog modally; tests replace it.
    using DialogRunner = std::function<void(RunProcessesDialog &)>;

    BatchRunObserver(Core::ApplicationModel *model, QWidget *mainWindow);
    void update() override;

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    Core::ApplicationModel *model;
    QPointer<QWidget> mainWindow;
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
