#pragma once

// One task per slab, then a barrier: the way every automaton and surface builder spreads a
// pass over the global thread pool. A slab is a half-open range [begin, end) of x; the rules
// that cut a range into slabs differ between passes and live here as small pure functions.

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdint>
#include <vector>

namespace Util {

struct Slab {
    uint32_t begin = 0;
    uint32_t end = 0;
    bool operator==(const Slab &o) const { return begin == o.begin && end == o.end; }
};

// The number of slabs a pass is cut into: the global thread pool's maximum thread count (at least 1).
uint32_t slabThreadCount();

// width = (end − begin) / threads. With a width of 0 one slab covers the whole range; otherwise
// `threads` slabs of that width, the last one ending at `end` (it takes the remainder).
std::vector<Slab> splitLastSlabTakesRest(uint32_t begin, uint32_t end, uint32_t threads);

// width = size / threads; the remainder size mod width is spread one cell at a time over the
// first slabs, and the last slab ends at `size` whatever is left. With a width of 0 one slab
// covers [0, size).
std::vector<Slab> splitRemainderOverFirstSlabs(uint32_t size, uint32_t threads);

// width = size / threads. Below `minimumWidth` one slab covers [0, size); otherwise `threads`
// slabs of that width, the last one ending at `size` (it takes the remainder): slabs thinner
// than the minimum would cost more in tasks and hand-overs than they save.
std::vector<Slab> splitWholeBelowMinimumWidth(uint32_t size, uint32_t threads, uint32_t minimumWidth);

// Runs task(i, slabs[i]) for every slab: the last on the calling thread, the others each as a
// task on the global pool; returns once all of them are done.
template <typename Task>
void runSlabs(const std::vector<Slab> &slabs, Task &&task)
{
    if (slabs.empty())
        return;
    // The caller would only wait: it takes a slab itself, which saves a task hand-off on every
    // barrier (automata with many short steps pass through thousands of them).
    const size_t last = slabs.size() - 1;
    std::vector<QFuture<void>> running;
    running.reserve(last);
    for (size_t i = 0; i < last; ++i) {
        const Slab slab = slabs[i];
        running.push_back(QtConcurrent::run(QThreadPool::globalInstance(), [&task, i, slab]() { task(i, slab); }));
    }
    const auto waitForAll = [&running] {
        for (auto &future : running)
            future.waitForFinished();
    };
    try {
        task(last, slabs[last]);
    } catch (...) {
        waitForAll(); // the tasks refer to `task`
        throw;
    }
    waitForAll();
}

} // namespace Util
