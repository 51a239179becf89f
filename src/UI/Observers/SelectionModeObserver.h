#pragma once

#include "Util/IObserver.h"

#include <QPointer>

class QAction;

namespace Core {
namespace Operations {
class SelectionMode;
}
}

namespace Ui {
namespace Observers {

// Keeps the checkable "Select" action in step with the selection mode.
class SelectionModeObserver : public Util::IObserver {
public:
    SelectionModeObserver(QAction *action, Core::Operations::SelectionMode *mode);
    void update() override;

private:
    QPointer<QAction> action;
    Core::Operations::SelectionMode *mode;
};

} // namespace Observers
} // namespace Ui
