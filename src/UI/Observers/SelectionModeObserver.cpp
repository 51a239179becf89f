#include "SelectionModeObserver.h"

#include "Core/Operations/SelectionMode.h"

#include <QAction>

namespace Ui {
namespace Observers {

SelectionModeObserver::SelectionModeObserver(QAction *action, Core::Operations::SelectionMode *mode)
    : action(action), mode(mode)
{
}

void SelectionModeObserver::update()
{
    if (action)
        action->setChecked(mode->isSelectionMode());
}

} // namespace Observers
} // namespace Ui
