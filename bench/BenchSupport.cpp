#include "BenchSupport.h"

#include <QThreadPool>

namespace BenchSupport {

uint64_t streamCells(const Model::Automaton::Cell *cells, uint64_t count)
{
    uint64_t sum = 0;
    for (uint64_t i = 0; i < count; ++i)
        sum += cells[i].material() + cells[i].cutCount();
    return sum;
}

ScopedThreads::ScopedThreads(int threads) : previous(QThreadPool::globalInstance()->maxThreadCount())
{
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
}

ScopedThreads::~ScopedThreads()
{
    QThreadPool::globalInstance()->setMaxThreadCount(previous);
}

} // namespace BenchSupport
