#pragma once

// Checks on the cells of small volumes: against a rule for every cell, column by column, and the
// same result whatever the thread count.

#include "common/Cells.h"
#include "common/ThreadCount.h"

#include <gtest/gtest.h>
#include <string>

namespace CoreTest {

using TestSupport::TotalVolume;

// Every cell (x, y, z) of `volume` holds material(x, y, z).
inline void expectCells(TotalVolume &volume, const std::function<uint32_t(uint32_t, uint32_t, uint32_t)> &material)
{
    using namespace TestSupport;
    EXPECT_EQ(materialsOf(volume), materialsOf(*volumeOf(volume.sizeX(), volume.sizeY(), volume.sizeZ(), material)));
}

// The materials of column (x, y) from z = 0 up, for readable failures.
inline std::vector<uint32_t> column(TotalVolume &volume, uint32_t x, uint32_t y)
{
    std::vector<uint32_t> out;
    for (uint32_t z = 0; z < volume.sizeZ(); ++z)
        out.push_back(TestSupport::materialAt(volume, x, y, z));
    return out;
}

// Runs `run` (build a volume, run a step, return what must not depend on the thread count) once
// per thread count, expects every run to give what the first gave, and returns that.
template <class Run>
auto sameForEveryThreadCount(Run run, const std::string &what = std::string()) -> decltype(run())
{
    const auto runWith = [&run](int threads) {
        const TestSupport::ScopedThreadCount scoped(threads);
        return run();
    };
    const auto first = runWith(*TestSupport::kThreadCounts.begin());
    for (auto threads = TestSupport::kThreadCounts.begin() + 1; threads != TestSupport::kThreadCounts.end(); ++threads)
        EXPECT_TRUE(runWith(*threads) == first) << what << ", " << *threads << " threads";
    return first;
}

} // namespace CoreTest
