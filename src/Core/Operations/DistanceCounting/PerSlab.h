#pragma once

#include <cstddef>
#include <vector>

namespace Core {
namespace Operations {

// One T per slab, each on cache lines of its own. The slabs push onto their lists all through
// a phase; with the vectors' headers side by side, each push would take the shared line away
// from the other slabs' cores.
template <typename T>
class PerSlab {
public:
    // Two lines: processors fetch lines in adjacent pairs.
    static constexpr size_t kSeparationBytes = 128;

    void resize(size_t count) { items.resize(count); }
    size_t size() const { return items.size(); }
    T &operator[](size_t slab) { return items[slab].value; }
    const T &operator[](size_t slab) const { return items[slab].value; }

private:
    struct alignas(kSeparationBytes) Separated {
        T value{};
    };
    std::vector<Separated> items;
};

} // namespace Operations
} // namespace Core
