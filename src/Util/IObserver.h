#pragma once

namespace Util {

// Carries a notification from the model back to whoever shows it. An observer holds, from
// its construction, pointers to whatever it needs; lists of observers hold shared pointers.
class IObserver {
public:
    virtual ~IObserver() = default;
    virtual void update() = 0;
};

} // namespace Util
