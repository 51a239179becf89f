#pragma once

#include "Model/Automaton/Cell.h"
#include "Model/Object.h"

#include <QBitArray>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace Model {

class SiLattice;

namespace Automaton {

class TotalVolumePainter;

// A regular grid of sizeX × sizeY × sizeZ cubic cells, each holding one material id.
// Cells are addressed by cellIndex(x, y, z) = (x · sizeY + y) · sizeZ + z: z varies fastest and
// is the vertical axis ("top" is high z). The grid size never changes after construction.
// `mutex` guards the cells: automata lock them for a whole run and hand disjoint x ranges to
// worker threads while the lock is held. Every lock taken for changing the cells counts as one
// change; the painter rebuilds its surfaces only when it draws after the count moved.
class TotalVolume : public Object {
public:
    // A mask over the volume's columns: a packed bit vector plus two parameters kept as given.
    struct Mask {
        QBitArray bits;
        uint32_t a = 0;
        uint32_t b = 0;
    };

    // `materials` holds one id per cell in cellIndex order; entries beyond the cell count are
    // ignored and missing ones leave their cells empty.
    TotalVolume(uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                float cellSizeX, float cellSizeY, float cellSizeZ,
                const Util::Vector3D &origin, const std::vector<uint32_t> &materials);
    ~TotalVolume() override;

    // Whether a grid of the given size can be addressed with 32-bit cell indices and held in
    // the memory of this computer. `why`, when given, receives a sentence saying which limit
    // is exceeded, with the cell count and the memory the cells would need.
    static bool sizeIsAcceptable(uint64_t sizeX, uint64_t sizeY, uint64_t sizeZ, QString *why = nullptr);
    static uint64_t bytesForCells(uint64_t cellCount) { return cellCount * sizeof(Cell); }

    uint32_t objectType() const override { return TotalVolumeType; }
    void paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition) override;
    void paintForPicking() override;
    // Copies the materials only: counters, masks, lattice, painter state and properties start fresh.
    Object *clone() override;
    void move(const Util::Vector4D &displacement) override;
    void transform(const Util::Vector4D &, const Util::Vector4D &) override {}

    // Locks the cells for changing them and returns them; unlockCells releases them. Counts as a
    // change of the cells whether or not one is written (prefer the scoped CellLock).
    Cell *lockCells();
    // Locks the cells for reading only, which is no change (prefer the scoped CellReadLock).
    const Cell *lockCellsForReading();
    // As lockCellsForReading, but returns null at once when someone else holds the cells.
    const Cell *tryLockCellsForReading();
    void unlockCells();
    // How many times the cells were locked for changing them. Surfaces built at another count
    // are out of date.
    uint64_t cellChangeCount() const { return changes.load(std::memory_order_acquire); }

    uint32_t cellIndex(uint32_t x, uint32_t y, uint32_t z) const { return (x * ySize + y) * zSize + z; }
    void cellCoordinates(uint32_t index, uint32_t &x, uint32_t &y, uint32_t &z) const;
    uint32_t cellCount() const { return xSize * ySize * zSize; }

    uint32_t sizeX() const { return xSize; }
    uint32_t sizeY() const { return ySize; }
    uint32_t sizeZ() const { return zSize; }
    float cellSizeX() const { return xCellSize; }
    float cellSizeY() const { return yCellSize; }
    float cellSizeZ() const { return zCellSize; }
    Util::Vector3D origin() const { return Util::Vector3D(originPoint); }

    void setTopMask(const QBitArray &bits, uint32_t a, uint32_t b);
    void setBottomMask(const QBitArray &bits, uint32_t a, uint32_t b);
    QBitArray topMask() const { return top.bits; }
    QBitArray bottomMask() const { return bottom.bits; }
    uint32_t topMaskA() const { return top.a; }
    uint32_t topMaskB() const { return top.b; }
    uint32_t bottomMaskA() const { return bottom.a; }
    uint32_t bottomMaskB() const { return bottom.b; }
    // Sets every bit to 0; the bit count stays.
    void clearTopMask() { top.bits.fill(false); }
    void clearBottomMask() { bottom.bits.fill(false); }

    std::shared_ptr<SiLattice> siLattice() const { return lattice; }
    void setSiLattice(std::shared_ptr<SiLattice> newLattice) { lattice = std::move(newLattice); }
    // Builds a new silicon lattice over the silicon cells (with the cells locked) and holds it in
    // place of the previous one. A lattice that would not fit in memory is refused before it is
    // allocated: false, the previous lattice kept, and `why` says so.
    bool createSiLattice(QString *why = nullptr);

    TotalVolumePainter &painter() { return *volumePainter; }

    // Absent keys give an invalid QVariant.
    QVariant property(const QString &key) const { return properties.value(key); }
    void setProperty(const QString &key, const QVariant &value) { properties.insert(key, value); }
    QStringList propertyNames() const { return properties.keys(); }

private:
    std::vector<Cell> cells;
    QMutex mutex;
    std::atomic<uint64_t> changes{0};
    uint32_t xSize;
    uint32_t ySize;
    uint32_t zSize;
    float xCellSize;
    float yCellSize;
    float zCellSize;
    Util::Vector4D originPoint;
    Mask top;
    Mask bottom;
    std::shared_ptr<SiLattice> lattice;
    std::unique_ptr<TotalVolumePainter> volumePainter;
    QMap<QString, QVariant> properties;
};

} // namespace Automaton
} // namespace Model
