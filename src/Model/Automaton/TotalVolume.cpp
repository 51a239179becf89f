#include "TotalVolume.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/SiLattice/SiLattice.h"

#include <QLocale>
#include <QSysInfo>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <sys/mman.h>
#include <unistd.h>

namespace Model {
namespace Automaton {

namespace {

// Physical memory of this computer in bytes, or 0 when it cannot be told.
uint64_t physicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return uint64_t(pages) * uint64_t(pageSize);
}

// Fresh memory is faulted in page by page when the cells are first written, and with 4 KiB
// pages that first touch costs more than every later pass over a large volume (opening a
// document spent most of its time there). Huge pages cut the faults 512-fold.
void adviseHugePages(const void *data, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pageSize <= 0)
        return;
    const uintptr_t page = uintptr_t(pageSize);
    const uintptr_t begin = (uintptr_t(data) + page - 1) & ~(page - 1);
    const uintptr_t end = uintptr_t(data) + bytes;
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace

TotalVolume::TotalVolume(uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                         float cellSizeX, float cellSizeY, float cellSizeZ,
                         const Util::Vector3D &origin, const std::vector<uint32_t> &materials)
    : xSize(sizeX), ySize(sizeY), zSize(sizeZ),
      xCellSize(cellSizeX), yCellSize(cellSizeY), zCellSize(cellSizeZ),
      originPoint(origin), volumePainter(std::make_unique<TotalVolumePainter>(*this))
{
    const size_t count = size_t(sizeX) * sizeY * sizeZ;
    cells.reserve(count);
    adviseHugePages(cells.data(), count * sizeof(Cell));
    cells.resize(count);
    const size_t given = std::min(count, materials.size());
    for (size_t i = 0; i < given; ++i)
        cells[i] = Cell(materials[i]);
}

TotalVolume::~TotalVolume() = default;

bool TotalVolume::sizeIsAcceptable(uint64_t sizeX, uint64_t sizeY, uint64_t sizeZ, QString *why)
{
    const uint64_t limit = std::numeric_limits<uint32_t>::max();
    // Multiply step by step so that absurd sizes cannot overflow 64 bits either.
    bool fits = sizeX <= limit && sizeY <= limit && sizeZ <= limit;
    uint64_t count = 0;
    if (fits) {
        count = sizeX * sizeY;
        fits = count <= limit && (sizeZ == 0 || count <= limit / sizeZ);
        count = fits ? count * sizeZ : 0;
    }
    const QLocale c = QLocale::c();
    auto describe = [&](const QString &reason) {
        if (!why)
            return;
        const double cellsAsked = double(sizeX) * double(sizeY) * double(sizeZ);
        const double gib = cellsAsked * double(sizeof(Cell)) / (1024.0 * 1024.0 * 1024.0);
        *why = QStringLiteral("%1 × %2 × %3 = %4 cells were asked for; they would need %5 GiB of memory. %6")
                   .arg(sizeX).arg(sizeY).arg(sizeZ)
                   .arg(c.toString(cellsAsked, 'f', 0))
                   .arg(c.toString(gib, 'f', 2))
                   .arg(reason);
    };
    if (!fits) {
        describe(QStringLiteral("A cell volume can hold at most %1 cells.").arg(limit));
        return false;
    }
    const uint64_t memory = physicalMemoryBytes();
    if (memory != 0 && bytesForCells(count) > memory) {
        describe(QStringLiteral("This computer has %1 GiB of memory.")
                     .arg(c.toString(double(memory) / (1024.0 * 1024.0 * 1024.0), 'f', 2)));
        return false;
    }
    return true;
}

bool TotalVolume::createSiLattice(QString *why)
{
    auto built = std::make_shared<SiLattice>(*this);
    {
        const CellLock lock(*this);
        if (!built->build(lock.cells(), SiLattice::physicalMemoryBytes(), why))
            return false;
    }
    lattice = std::move(built);
    return true;
}

void TotalVolume::paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition)
{
    volumePainter->paint(drawFaces, drawOutlines, eyePosition);
}

void TotalVolume::paintForPicking()
{
    volumePainter->paintForPicking();
}

Object *TotalVolume::clone()
{
    std::vector<uint32_t> materials;
    materials.reserve(cells.size());
    mutex.lock();
    for (const Cell &cell : cells)
        materials.push_back(cell.material());
    mutex.unlock();
    return new TotalVolume(xSize, ySize, zSize, xCellSize, yCellSize, zCellSize, origin(), materials);
}

void TotalVolume::move(const Util::Vector4D &displacement)
{
    originPoint += displacement;
}

Cell *TotalVolume::lockCells()
{
    mutex.lock();
    // Counted under the lock, so that whoever reads the count while holding the cells reads the
    // count of the cells it sees.
    changes.fetch_add(1, std::memory_order_acq_rel);
    return cells.data();
}

const Cell *TotalVolume::lockCellsForReading()
{
    mutex.lock();
    return cells.data();
}

const Cell *TotalVolume::tryLockCellsForReading()
{
    return mutex.tryLock() ? cells.data() : nullptr;
}

void TotalVolume::unlockCells()
{
    mutex.unlock();
}

void TotalVolume::cellCoordinates(uint32_t index, uint32_t &x, uint32_t &y, uint32_t &z) const
{
    const uint32_t plane = ySize * zSize;
    x = index / plane;
    y = (index - x * plane) / zSize;
    z = index % zSize;
}

void TotalVolume::setTopMask(const QBitArray &bits, uint32_t a, uint32_t b)
{
    top = Mask{bits, a, b};
}

void TotalVolume::setBottomMask(const QBitArray &bits, uint32_t a, uint32_t b)
{
    bottom = Mask{bits, a, b};
}

} // namespace Automaton
} // namespace Model
