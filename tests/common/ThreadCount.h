#pragma once

// Automata and surface builders must give the same result for any thread count: tests run them
// with each of these counts and compare byte for byte.

#include <QThreadPool>
#include <initializer_list>

namespace TestSupport {

constexpr std::initializer_list<int> kThreadCounts = {1, 2, 3, 8};

// Sets the global pool's thread count for the lifetime of the object, then puts it back.
class ScopedThreadCount {
public:
    explicit ScopedThreadCount(int threads) : previous(QThreadPool::globalInstance()->maxThreadCount())
    {
        QThreadPool::globalInstance()->setMaxThreadCount(threads);
    }
    ~ScopedThreadCount() { QThreadPool::globalInstance()->setMaxThreadCount(previous); }
    ScopedThreadCount(const ScopedThreadCount &) = delete;
    ScopedThreadCount &operator=(const ScopedThreadCount &) = delete;

private:
    int previous;
};

} // namespace TestSupport
