#pragma once

#include "Core/Operations/Operation.h"

namespace Core {
namespace Operations {

// "Remove Cuts": shows every cell of the chosen volume again that masked cuts hid, whatever the
// masks were. The cut box of "Change Cut Planes" stays. Not undoable: the masked cuts on the
// undo stack can still be undone and redone afterwards, each acting on its own columns.
class RemoveCutsFromVolumeOperation : public Operation {
public:
    explicit RemoveCutsFromVolumeOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
};

} // namespace Operations
} // namespace Core
