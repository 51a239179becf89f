#include "MaterialConflictObserver.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/MaterialConflict.h"
#include "UI/Operations/MaterialConflictDialog.h"

namespace Ui {
namespace Observers {

MaterialConflictObserver::MaterialConflictObserver(QWidget *mainWindow)
    : mainWindow(mainWindow),
      runDialog([](Operations::MaterialConflictDialog &dialog) { return dialog.exec() == QDialog::Accepted; })
{
}

void MaterialConflictObserver::update()
{
    auto &conflict = Model::Persistence::MaterialConflict::instance();
    Operations::MaterialConflictDialog dialog(mainWindow.data());
    dialog.setMaterials(conflict.existingMaterial(), conflict.loadedMaterial(),
                        Model::Materials::MaterialFactory::instance()->materials());
    // Unanswered or cancelled, the conflict stays open and the reader adds the material anew.
    if (runDialog(dialog) && dialog.hasChoice())
        conflict.resolve(dialog.choice(), dialog.replacementId());
}

} // namespace Observers
} // namespace Ui
