#pragma once

#include "Core/Operations/Operation.h"

namespace Core {
namespace Operations {

// An operation that changes objects and can be undone and redone. When it finishes it is
// pushed on the undo stack.
class ObjectOperation : public Operation {
public:
    using Operation::Operation;

    // Restores the state before the operation; false means nothing was undone.
    virtual bool undo() = 0;
    // Applies the operation again.
    virtual bool redo() = 0;
};

} // namespace Operations
} // namespace Core
