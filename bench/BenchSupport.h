#pragma once

#include "Model/Automaton/Cell.h"

#include <benchmark/benchmark.h>
#include <cstdint>

namespace BenchSupport {

// The baseline every hot path is read against: one streaming pass over a cell array of this
// many cells, summing the materials. Report a benchmark's time as a multiple of this one.
uint64_t streamCells(const Model::Automaton::Cell *cells, uint64_t count);

// Sets the global thread pool's maximum thread count for the benchmark's duration.
class ScopedThreads {
public:
    explicit ScopedThreads(int threads);
    ~ScopedThreads();

private:
    int previous;
};

} // namespace BenchSupport
