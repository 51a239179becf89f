#include "BoxDecomposition.h"

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"

#include <unordered_map>

namespace Model {
namespace ModelExtraction {

namespace {

std::vector<uint32_t> coordinatesOf(const std::vector<bool> &isPlane)
{
    std::vector<uint32_t> out;
    for (uint32_t c = 0; c < isPlane.size(); ++c)
        if (isPlane[c])
            out.push_back(c);
    return out;
}

// For every coordinate below `size`, the first plane above it, or `size` when there is none.
std::vector<uint32_t> nextPlaneAbove(const std::vector<uint32_t> &planes, uint32_t size)
{
    std::vector<uint32_t> next(size, size);
    auto plane = planes.begin();
    for (uint32_t c = 0; c < size; ++c) {
        while (plane != planes.end() && *plane <= c)
            ++plane;
        if (plane != planes.end())
            next[c] = *plane;
    }
    return next;
}

// A face by its four corners: the axis it is normal to, its coordinate on that axis, and the
// ranges it spans on the other two axes.
struct FaceKey {
    uint32_t axis, plane, lowA, lowB, highA, highB;
    bool operator==(const FaceKey &o) const
    {
        return axis == o.axis && plane == o.plane && lowA == o.lowA && lowB == o.lowB && highA == o.highA &&
               highB == o.highB;
    }
};

struct FaceKeyHash {
    size_t operator()(const FaceKey &k) const
    {
        uint64_t h = 0x9e3779b97f4a7c15ull;
        for (uint32_t v : {k.axis, k.plane, k.lowA, k.lowB, k.highA, k.highB}) {
            h ^= v;
            h *= 0xff51afd7ed558ccdull;
            h ^= h >> 33;
        }
        return size_t(h);
    }
};

FaceKey keyOf(const RectangularCuboidEnvelope &box, int face)
{
    const uint32_t low[3] = {box.x, box.y, box.z};
    const uint32_t size[3] = {box.sizeX, box.sizeY, box.sizeZ};
    const uint32_t axis = uint32_t(face) / 2;
    const uint32_t a = (axis + 1) % 3;
    const uint32_t b = (axis + 2) % 3;
    const bool high = face % 2 == 1;
    return {axis, high ? low[axis] + size[axis] : low[axis], low[a], low[b], low[a] + size[a], low[b] + size[b]};
}

// The boxes that show a face as their low side and as their high side; the latest in the list.
struct FaceHolders {
    int side[2] = {-1, -1};
};

} // namespace

SplitPlanes splitPlanesOf(const Automaton::Cell *cells, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ)
{
    std::vector<bool> inX(sizeX, false), inY(sizeY, false), inZ(sizeZ, false);
    const uint32_t stepY = sizeZ;
    const uint32_t stepX = sizeY * sizeZ;
    for (uint32_t x = 0; x + 1 < sizeX; ++x)
        for (uint32_t y = 0; y + 1 < sizeY; ++y) {
            const uint32_t column = (x * sizeY + y) * sizeZ;
            for (uint32_t z = 0; z + 1 < sizeZ; ++z) {
                const uint32_t i = column + z;
                const uint32_t m = cells[i].material();
                if (m != cells[i + 1].material())
                    inZ[z + 1] = true;
                if (m != cells[i + stepY].material())
                    inY[y + 1] = true;
                if (m != cells[i + stepX].material())
                    inX[x + 1] = true;
            }
        }
    return {coordinatesOf(inX), coordinatesOf(inY), coordinatesOf(inZ)};
}

Envelopes boxesOf(const Automaton::Cell *cells, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                  const SplitPlanes &planes)
{
    Envelopes boxes;
    const uint64_t cellCount = uint64_t(sizeX) * sizeY * sizeZ;
    if (cellCount == 0)
        return boxes;
    const std::vector<uint32_t> nextX = nextPlaneAbove(planes.x, sizeX);
    const std::vector<uint32_t> nextY = nextPlaneAbove(planes.y, sizeY);
    const std::vector<uint32_t> nextZ = nextPlaneAbove(planes.z, sizeZ);
    const auto indexOf = [&](uint32_t x, uint32_t y, uint32_t z) { return (x * sizeY + y) * sizeZ + z; };

    std::vector<bool> queued(cellCount, false);
    std::vector<uint32_t> queue{0};
    queued[0] = true;
    const auto enqueue = [&](uint32_t index) {
        if (!queued[index]) {
            queued[index] = true;
            queue.push_back(index);
        }
    };
    for (size_t head = 0; head < queue.size(); ++head) {
        const uint32_t index = queue[head];
        const uint32_t z = index % sizeZ;
        const uint32_t y = (index / sizeZ) % sizeY;
        const uint32_t x = index / sizeZ / sizeY;
        if (nextX[x] < sizeX)
            enqueue(indexOf(nextX[x], y, z));
        if (nextY[y] < sizeY)
            enqueue(indexOf(x, nextY[y], z));
        if (nextZ[z] < sizeZ)
            enqueue(indexOf(x, y, nextZ[z]));
        const uint32_t material = cells[index].material();
        if (material != 0)
            boxes.push_back(std::make_shared<RectangularCuboidEnvelope>(x, y, z, nextX[x] - x, nextY[y] - y,
                                                                        nextZ[z] - z, material));
    }
    return boxes;
}

void linkNeighbours(const Envelopes &boxes)
{
    std::unordered_map<FaceKey, FaceHolders, FaceKeyHash> holders;
    holders.reserve(boxes.size() * kFaceCount);
    for (int i = 0; i < int(boxes.size()); ++i)
        for (int face = 0; face < kFaceCount; ++face)
            holders[keyOf(*boxes[size_t(i)], face)].side[face % 2] = i;

    for (int i = 0; i < int(boxes.size()); ++i) {
        RectangularCuboidEnvelope &box = *boxes[size_t(i)];
        for (int face = 0; face < kFaceCount; ++face) {
            const int other = holders.at(keyOf(box, face)).side[oppositeFace(face) % 2];
            if (other >= 0 && other != i)
                box.setNeighbour(face, boxes[size_t(other)].get());
        }
    }
}

Envelopes decomposeIntoBoxes(Automaton::TotalVolume &volume)
{
    Envelopes boxes;
    {
        const Automaton::CellReadLock lock(volume);
        const SplitPlanes planes = splitPlanesOf(lock.cells(), volume.sizeX(), volume.sizeY(), volume.sizeZ());
        boxes = boxesOf(lock.cells(), volume.sizeX(), volume.sizeY(), volume.sizeZ(), planes);
    }
    linkNeighbours(boxes);
    return boxes;
}

} // namespace ModelExtraction
} // namespace Model
