#pragma once

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {

class Operation;

// Builds a new operation, wired to its observers, for an operation id; an id without an
// operation gives an empty pointer.
class IOperationFactory {
public:
    virtual ~IOperationFactory() = default;
    virtual std::shared_ptr<Operation> create(uint32_t id) = 0;
};

} // namespace Operations
} // namespace Core
