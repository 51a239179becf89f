#pragma once

#include <cstdint>
#include <vector>

namespace Core {
namespace Operations {

// What the 3D view answers to a click: the ids of the objects drawn under a window position
// (origin top left, device pixels), in the order the view reports them for the nearest hit.
class IObjectPicker {
public:
    virtual ~IObjectPicker() = default;
    virtual std::vector<uint32_t> objectIdsAt(int x, int y) = 0;
};

} // namespace Operations
} // namespace Core
