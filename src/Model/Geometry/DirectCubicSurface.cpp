#include "DirectCubicSurface.h"

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Geometry/FaceTable.h"
#include "Util/SlabRunner.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <numeric>

namespace Model {
namespace Geometry {

using Automaton::Cell;
using Automaton::TotalVolume;

namespace {

// Material ids below this are classified through a flat table in the innermost loop; larger
// ids (rare: user materials lie below 32767) fall back to the colour map.
constexpr uint32_t kFlatTableIdLimit = 1u << 16;

// The alpha class of every material id, as the face rules read it for each cell. Ids without
// a colour are missing from the catalogue and count as opaque.
class MaterialClasses {
public:
    explicit MaterialClasses(const MaterialColorMap &colors) : colors(colors)
    {
        const uint32_t highest = colors.empty() ? 0 : colors.rbegin()->first;
        const uint32_t size = std::min(kFlatTableIdLimit, highest + 1);
        table.assign(size, uint8_t(AlphaClass::Opaque));
        for (const auto &entry : colors)
            if (entry.first < size)
                table[entry.first] = uint8_t(alphaClass(entry.second));
    }

    AlphaClass of(uint32_t id) const
    {
        if (id < table.size())
            return AlphaClass(table[id]);
        const auto found = colors.find(id);
        return found == colors.end() ? AlphaClass::Opaque : alphaClass(found->second);
    }

    // The ids below flatSize() are answered by flat()[id]; of() answers every id.
    const uint8_t *flat() const { return table.data(); }
    uint32_t flatSize() const { return uint32_t(table.size()); }

private:
    const MaterialColorMap &colors;
    std::vector<uint8_t> table;
};

// A material's colour, kMissingMaterialColor when the map does not have it.
const Rgba &colorIn(const MaterialColorMap &colors, uint32_t id)
{
    const auto found = colors.find(id);
    return found == colors.end() ? DirectCubicSurface::kMissingMaterialColor : found->second;
}

// A colour lookup that remembers the last material asked for: neighbouring cells mostly
// share a material, so this turns the map search per cell into one per run of cells.
class ColorCache {
public:
    explicit ColorCache(const MaterialColorMap &colors) : colors(colors) {}

    const Rgba &operator()(uint32_t id)
    {
        if (id != lastId) {
            lastId = id;
            lastColor = &colorIn(colors, id);
        }
        return *lastColor;
    }

private:
    const MaterialColorMap &colors;
    uint32_t lastId = 0;
    const Rgba *lastColor = &colorIn(colors, 0);
};

// The grid and the part of it that becomes faces, with the box already clipped to the grid.
struct GridBox {
    uint32_t sizeY;
    uint32_t sizeZ;
    std::array<uint32_t, 3> lower;
    std::array<uint32_t, 3> upper;
    std::array<float, 3> cellSize;

    bool empty() const { return lower[0] >= upper[0] || lower[1] >= upper[1] || lower[2] >= upper[2]; }
    size_t cellIndex(uint32_t x, uint32_t y, uint32_t z) const { return (size_t(x) * sizeY + y) * sizeZ + z; }
};

GridBox gridBoxOf(const TotalVolume &volume, const uint32_t lower[3], const uint32_t upper[3])
{
    GridBox box{volume.sizeY(),
                volume.sizeZ(),
                {lower[0], lower[1], lower[2]},
                {upper[0], upper[1], upper[2]},
                {volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()}};
    const uint32_t sizes[3] = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    for (int i = 0; i < 3; ++i)
        box.upper[i] = std::min(box.upper[i], sizes[i]);
    return box;
}

QuadFace cellFace(uint32_t x, uint32_t y, uint32_t z, int k, const std::array<float, 3> &cellSize,
                  const Rgba &color, uint32_t materialId, uint32_t serial)
{
    std::array<Point3f, 4> corners;
    for (int j = 0; j < 4; ++j) {
        const int *v = kFaceCorners[k][j];
        corners[j] = {float(x + uint32_t(v[0])) * cellSize[0], float(y + uint32_t(v[1])) * cellSize[1],
                      float(z + uint32_t(v[2])) * cellSize[2]};
    }
    return QuadFace(corners, k, color, materialId, serial);
}

// How each cell of the cut box takes part in the face rules, one byte per cell. A border of
// zero bytes around the box lets the neighbour look-ups run without bounds tests and leaves
// every face on the box boundary visible. Classifying first means the face passes read one
// byte per neighbour instead of a whole cell record.
//
// The low two bits say what the cell shows. For a cell of a translucent material (cut or not)
// three more bits say whether the next cell along z, y and x, inside the box, holds the same
// material: a translucent body hides the faces inside it, even where part of it is cut away.
enum CellPart : uint8_t {
    kNoPart = 0,          // empty, cut or invisible: shows nothing and covers nothing
    kOpaquePart = 1,      // shows faces and covers its neighbours' faces
    kTranslucentPart = 2, // shows faces, covers nothing
};
constexpr uint8_t kPartMask = 0x03;
constexpr uint8_t kSameAsNextZ = 0x04;
constexpr uint8_t kSameAsNextY = 0x08;
constexpr uint8_t kSameAsNextX = 0x10;
constexpr uint8_t kSameAsNext = kSameAsNextZ | kSameAsNextY | kSameAsNextX;

CellPart partOf(uint8_t byte)
{
    return CellPart(byte & kPartMask);
}

class CellParts {
public:
    // Sizes `storage` for the box and clears the planes before and after it; classifyPlane
    // fills in the rest.
    CellParts(const GridBox &box, std::vector<uint8_t> &storage)
        : box(box),
          strideY(ptrdiff_t(box.upper[2] - box.lower[2]) + 2),
          strideX(strideY * (ptrdiff_t(box.upper[1] - box.lower[1]) + 2)),
          parts(storage)
    {
        // Every byte is written below, so the memory of the previous build is reused as it is.
        const size_t planes = box.upper[0] - box.lower[0] + 2;
        parts.resize(size_t(strideX) * planes);
        std::memset(parts.data(), kNoPart, size_t(strideX));
        std::memset(parts.data() + (planes - 1) * size_t(strideX), kNoPart, size_t(strideX));
    }

    // The part of cell (x, y, z) of the volume, which must lie in the box.
    const uint8_t *at(uint32_t x, uint32_t y, uint32_t z) const { return parts.data() + offset(x, y, z); }

    // Offsets from a cell's part to its neighbours', in face order.
    std::array<ptrdiff_t, kFaceCount> neighbourOffsets() const
    {
        return {-1, 1, -strideY, strideY, -strideX, strideX};
    }

    // Classifies plane x of the box and clears its border. Bounds and strides live in locals:
    // the byte stores may alias anything, and the compiler would otherwise reload every member
    // after each of them.
    void classifyPlane(const Cell *cells, uint32_t x, const MaterialClasses &classes)
    {
        const size_t nextY = box.sizeZ;
        const size_t nextX = size_t(box.sizeY) * box.sizeZ;
        const uint32_t y0 = box.lower[1];
        const uint32_t y1 = box.upper[1];
        const uint32_t z0 = box.lower[2];
        const uint32_t z1 = box.upper[2];
        const bool lastPlane = x + 1 >= box.upper[0];
        const uint8_t *const flatClasses = classes.flat();
        const uint32_t flatSize = classes.flatSize();
        clearBorderOfPlane(x);
        for (uint32_t y = y0; y < y1; ++y) {
            const Cell *column = cells + box.cellIndex(x, y, 0);
            uint8_t *const row = parts.data() + offset(x, y, z0) - z0;
            const bool lastRow = y + 1 >= y1;
            for (uint32_t z = z0; z < z1; ++z) {
                const Cell &cell = column[z];
                prefetchAheadOf(&cell);
                const uint32_t material = cell.material();
                uint8_t byte = kNoPart;
                if (material != 0) {
                    const AlphaClass kind =
                        material < flatSize ? AlphaClass(flatClasses[material]) : classes.of(material);
                    const bool cut = cell.isCut();
                    if (kind == AlphaClass::Opaque) {
                        byte = cut ? kNoPart : kOpaquePart;
                    } else if (kind == AlphaClass::Translucent) {
                        byte = cut ? kNoPart : kTranslucentPart;
                        if (z + 1 < z1 && (&cell)[1].material() == material)
                            byte |= kSameAsNextZ;
                        if (!lastRow && (&cell)[nextY].material() == material)
                            byte |= kSameAsNextY;
                        if (!lastPlane && (&cell)[nextX].material() == material)
                            byte |= kSameAsNextX;
                    }
                }
                row[z] = byte;
            }
        }
    }

private:
    // The first and last row of the plane, and the first and last byte of every row between.
    void clearBorderOfPlane(uint32_t x)
    {
        const uint32_t rows = box.upper[1] - box.lower[1] + 2;
        uint8_t *plane = parts.data() + size_t(x - box.lower[0] + 1) * size_t(strideX);
        std::memset(plane, kNoPart, size_t(strideY));
        std::memset(plane + size_t(rows - 1) * size_t(strideY), kNoPart, size_t(strideY));
        for (uint32_t row = 1; row + 1 < rows; ++row) {
            plane[size_t(row) * size_t(strideY)] = kNoPart;
            plane[size_t(row + 1) * size_t(strideY) - 1] = kNoPart;
        }
    }

    size_t offset(uint32_t x, uint32_t y, uint32_t z) const
    {
        return size_t(x - box.lower[0] + 1) * size_t(strideX) + size_t(y - box.lower[1] + 1) * size_t(strideY)
               + (z - box.lower[2] + 1);
    }

    const GridBox &box;
    ptrdiff_t strideY;
    ptrdiff_t strideX;
    std::vector<uint8_t> &parts;
};

// The faces a translucent cell shows: those whose neighbour neither covers it nor continues
// its body. The same-material bit of a pair sits on its lower cell.
unsigned translucentFacesShown(const uint8_t *part, const std::array<ptrdiff_t, kFaceCount> &offset)
{
    const bool sameBody[kFaceCount] = {
        (part[offset[0]] & kSameAsNextZ) != 0, (part[0] & kSameAsNextZ) != 0,
        (part[offset[2]] & kSameAsNextY) != 0, (part[0] & kSameAsNextY) != 0,
        (part[offset[4]] & kSameAsNextX) != 0, (part[0] & kSameAsNextX) != 0,
    };
    unsigned visible = 0;
    for (int k = 0; k < kFaceCount; ++k) {
        const bool covered = partOf(part[offset[k]]) == kOpaquePart;
        if (!covered && !sameBody[k])
            visible |= 1u << k;
    }
    return visible;
}

// Cells are tested eight at a time first: a run of eight empty cells, or of eight opaque cells
// whose neighbours are all opaque, or of eight cells inside one translucent body, shows
// nothing, and most of a volume is one or the other.
constexpr uint32_t kRunLength = 8;
constexpr uint64_t kEachByte = 0x0101010101010101ull;
constexpr uint64_t kRunOfOpaque = kEachByte * kOpaquePart;
constexpr uint64_t kRunInsideTranslucent = kEachByte * (kTranslucentPart | kSameAsNext);

uint64_t runAt(const uint8_t *part)
{
    uint64_t run;
    std::memcpy(&run, part, sizeof run);
    return run;
}

bool runShowsNothing(const uint8_t *part, const std::array<ptrdiff_t, kFaceCount> &offset)
{
    const uint64_t run = runAt(part);
    if (run == 0)
        return true;
    if (run == kRunOfOpaque) {
        for (ptrdiff_t o : offset)
            if (runAt(part + o) != kRunOfOpaque)
                return false;
        return true;
    }
    if (run == kRunInsideTranslucent) {
        // The run continues its body upwards by its own bits, downwards by its neighbours'.
        return (runAt(part + offset[0]) & (kEachByte * kSameAsNextZ)) == kEachByte * kSameAsNextZ
               && (runAt(part + offset[2]) & (kEachByte * kSameAsNextY)) == kEachByte * kSameAsNextY
               && (runAt(part + offset[4]) & (kEachByte * kSameAsNextX)) == kEachByte * kSameAsNextX;
    }
    return false;
}

// Calls shown(x, y, z, part, visible) for every cell of the slab that shows at least one face,
// in ascending x, y, z order; bit k of `visible` is set when face k shows.
template <typename Shown>
void forEachShowingCell(const GridBox &box, const CellParts &parts, Util::Slab slab, Shown &&shown)
{
    const auto offset = parts.neighbourOffsets();
    const uint32_t z0 = box.lower[2];
    const uint32_t z1 = box.upper[2];
    for (uint32_t x = slab.begin; x < slab.end; ++x)
        for (uint32_t y = box.lower[1]; y < box.upper[1]; ++y) {
            const uint8_t *row = parts.at(x, y, z0) - z0;
            for (uint32_t runStart = z0; runStart < z1; runStart += kRunLength) {
                const uint32_t runEnd = std::min(runStart + kRunLength, z1);
                // A full run reads one byte past its end at most, which is the box's border.
                if (runEnd - runStart == kRunLength && runShowsNothing(row + runStart, offset))
                    continue;
                for (uint32_t z = runStart; z < runEnd; ++z) {
                    const uint8_t *part = row + z;
                    const CellPart kind = partOf(*part);
                    if (kind == kNoPart)
                        continue;
                    unsigned visible = 0;
                    if (kind == kOpaquePart) {
                        // An opaque face shows unless the neighbour is opaque too.
                        for (int k = 0; k < kFaceCount; ++k)
                            visible |= unsigned(partOf(part[offset[k]]) != kOpaquePart) << k;
                    } else {
                        visible = translucentFacesShown(part, offset);
                    }
                    if (visible != 0)
                        shown(x, y, z, kind, visible);
                }
            }
        }
}

// The number of bits set in each six-bit face mask: without a popcount instruction in the
// target set, __builtin_popcount is a library call per cell.
constexpr std::array<uint8_t, 1u << kFaceCount> kFacesInMask = [] {
    std::array<uint8_t, 1u << kFaceCount> counts{};
    for (unsigned mask = 1; mask < counts.size(); ++mask)
        counts[mask] = uint8_t(counts[mask >> 1] + (mask & 1u));
    return counts;
}();

size_t faceCount(unsigned visible)
{
    return kFacesInMask[visible];
}

} // namespace

DirectCubicSurface::DirectCubicSurface() : tree(std::make_shared<BSPTree>()) {}

DirectCubicSurface::~DirectCubicSurface() = default;

// Each slab classifies its planes and, one plane behind, lists the cells that show faces,
// while the plane is still in cache. A slab's first and last planes need their neighbours in
// the slabs beside them, so they are listed once every slab is classified. With the face counts
// of all slabs known, each slab writes its faces straight into the lists at its own offset. The
// lists come out in ascending x, y, z, face order whatever the thread count, and keep their
// memory from one build to the next.
void DirectCubicSurface::build(const TotalVolume &volume, const Cell *cells, const uint32_t lower[3],
                               const uint32_t upper[3], const MaterialColorMap &colors)
{
    const MaterialClasses classes(colors);
    const GridBox box = gridBoxOf(volume, lower, upper);
    if (box.empty()) {
        opaque.clear();
        translucent.clear();
    } else {
        const std::vector<Util::Slab> slabs =
            Util::splitLastSlabTakesRest(box.lower[0], box.upper[0], Util::slabThreadCount());
        // Per slab: the cells of its first plane, of the planes between, and of its last plane.
        shownCells.resize(3 * slabs.size());
        // Where each slab's faces start in the two lists; the last entry is the total.
        std::vector<size_t> opaqueStart(slabs.size() + 1, 0);
        std::vector<size_t> translucentStart(slabs.size() + 1, 0);
        auto listPlane = [&](const CellParts &parts, uint32_t x, size_t slab, std::vector<ShownCell> &list) {
            size_t opaqueCount = 0;
            size_t translucentCount = 0;
            auto keep = [&](uint32_t cx, uint32_t cy, uint32_t cz, CellPart part, unsigned visible) {
                list.push_back({cx, cy, cz, uint8_t(part), uint8_t(visible)});
                (part == kOpaquePart ? opaqueCount : translucentCount) += faceCount(visible);
            };
            forEachShowingCell(box, parts, Util::Slab{x, x + 1}, keep);
            opaqueStart[slab + 1] += opaqueCount;
            translucentStart[slab + 1] += translucentCount;
        };

        CellParts parts(box, cellParts);
        Util::runSlabs(slabs, [&](size_t i, Util::Slab slab) {
            std::vector<ShownCell> &between = shownCells[3 * i + 1];
            between.clear();
            for (uint32_t x = slab.begin; x < slab.end; ++x) {
                parts.classifyPlane(cells, x, classes);
                if (x >= slab.begin + 2)
                    listPlane(parts, x - 1, i, between);
            }
        });
        Util::runSlabs(slabs, [&](size_t i, Util::Slab slab) {
            std::vector<ShownCell> &first = shownCells[3 * i];
            std::vector<ShownCell> &last = shownCells[3 * i + 2];
            first.clear();
            last.clear();
            if (slab.begin < slab.end)
                listPlane(parts, slab.begin, i, first);
            if (slab.end > slab.begin + 1)
                listPlane(parts, slab.end - 1, i, last);
        });
        std::partial_sum(opaqueStart.begin(), opaqueStart.end(), opaqueStart.begin());
        std::partial_sum(translucentStart.begin(), translucentStart.end(), translucentStart.begin());
        // Every face is overwritten below; resizing only initialises what the lists gain.
        opaque.resize(opaqueStart.back());
        translucent.resize(translucentStart.back());
        // Opaque faces are numbered first, then translucent ones, each in list order.
        const uint32_t firstSerial = QuadFace::takeSerials(uint32_t(opaque.size() + translucent.size()));
        const uint32_t firstTranslucentSerial = firstSerial + uint32_t(opaque.size());
        Util::runSlabs(slabs, [&](size_t i, Util::Slab) {
            QuadFace *nextOpaque = opaque.data() + opaqueStart[i];
            QuadFace *nextTranslucent = translucent.data() + translucentStart[i];
            ColorCache colorOf(colors);
            for (size_t part = 0; part < 3; ++part) {
                const std::vector<ShownCell> &list = shownCells[3 * i + part];
                for (size_t c = 0; c < list.size(); ++c) {
                    // The records of the cells shown lie far apart in the volume: each is asked
                    // for a few cells ahead, or every one of them is a wait on main memory.
                    constexpr size_t kAhead = 16;
                    if (c + kAhead < list.size()) {
                        const ShownCell &ahead = list[c + kAhead];
                        __builtin_prefetch(cells + box.cellIndex(ahead.x, ahead.y, ahead.z));
                    }
                    const ShownCell &cell = list[c];
                    const uint32_t material = cells[box.cellIndex(cell.x, cell.y, cell.z)].material();
                    const Rgba &color = colorOf(material);
                    const bool isOpaque = cell.part == kOpaquePart;
                    QuadFace *&next = isOpaque ? nextOpaque : nextTranslucent;
                    const QuadFace *faces = isOpaque ? opaque.data() : translucent.data();
                    const uint32_t serialBase = isOpaque ? firstSerial : firstTranslucentSerial;
                    for (int k = 0; k < kFaceCount; ++k)
                        if (cell.visible & (1u << k)) {
                            const uint32_t serial = serialBase + uint32_t(next - faces);
                            *next++ = cellFace(cell.x, cell.y, cell.z, k, box.cellSize, color, material, serial);
                        }
                }
            }
        });
    }

    tree = std::make_shared<BSPTree>(translucent);
}

// Counted first and then written in place, like the direct cubic faces.
void DirectCubicSurface::buildEmptyVoxelFaces(const TotalVolume &volume, const Cell *cells,
                                              const uint32_t lower[3], const uint32_t upper[3])
{
    const GridBox box = gridBoxOf(volume, lower, upper);
    emptyVoxels.clear();
    if (box.empty())
        return;
    const std::vector<Util::Slab> slabs =
        Util::splitLastSlabTakesRest(box.lower[0], box.upper[0], Util::slabThreadCount());
    auto forEachEmptyCell = [&box](const Cell *cells, Util::Slab slab, auto &&visit) {
        for (uint32_t x = slab.begin; x < slab.end; ++x)
            for (uint32_t y = box.lower[1]; y < box.upper[1]; ++y)
                for (uint32_t z = box.lower[2]; z < box.upper[2]; ++z)
                    if (cells[box.cellIndex(x, y, z)].material() == 0)
                        visit(x, y, z);
    };
    std::vector<size_t> start(slabs.size() + 1, 0);

    Util::runSlabs(slabs, [&](size_t i, Util::Slab slab) {
        size_t count = 0;
        forEachEmptyCell(cells, slab, [&count](uint32_t, uint32_t, uint32_t) { count += kFaceCount; });
        start[i + 1] = count;
    });
    std::partial_sum(start.begin(), start.end(), start.begin());
    emptyVoxels.resize(start.back());
    const uint32_t firstSerial = QuadFace::takeSerials(uint32_t(emptyVoxels.size()));
    Util::runSlabs(slabs, [&](size_t i, Util::Slab slab) {
        QuadFace *next = emptyVoxels.data() + start[i];
        forEachEmptyCell(cells, slab, [&](uint32_t x, uint32_t y, uint32_t z) {
            for (int k = 0; k < kFaceCount; ++k) {
                const uint32_t serial = firstSerial + uint32_t(next - emptyVoxels.data());
                *next++ = cellFace(x, y, z, k, box.cellSize, kEmptyVoxelOutlineColor, 0, serial);
            }
        });
    });
}


void DirectCubicSurface::clearEmptyVoxelFaces()
{
    std::vector<QuadFace>().swap(emptyVoxels);
}

void DirectCubicSurface::recolor(const MaterialColorMap &colors, bool selected)
{
    ColorCache colorOf(colors);
    auto repaint = [&](QuadFace &face) {
        const Rgba &plain = colorOf(face.materialId);
        face.color = selected ? highlightColor(plain) : plain;
        face.outlineColor = face.color;
    };
    for (QuadFace &face : opaque)
        repaint(face);
    for (QuadFace &face : translucent)
        repaint(face);
    tree->forEachFace(repaint);
}

} // namespace Geometry
} // namespace Model
