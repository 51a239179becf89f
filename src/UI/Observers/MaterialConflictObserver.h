#pragma once

#include "Util/IObserver.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace Ui {
namespace Operations {
class MaterialConflictDialog;
}
namespace Observers {

// Shows the material conflict of the document being read and settles it with the user's answer.
class MaterialConflictObserver : public Util::IObserver {
public:
    // Runs the dialog modally and returns whether it was accepted; tests replace it.
    using DialogRunner = std::function<bool(Operations::MaterialConflictDialog &)>;

    explicit MaterialConflictObserver(QWidget *mainWindow);
    void update() override;

    void setDialogRunner(DialogRunner runner) { runDialog = std::move(runner); }

private:
    QPointer<QWidget> mainWindow; // the window may close while the observer stays registered
    DialogRunner runDialog;
};

} // namespace Observers
} // namespace Ui
