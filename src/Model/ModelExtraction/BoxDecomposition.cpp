#include "BoxDecomposition.h"

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"

#include <algorithm>
#include <tuple>

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

// One face normal to the axis being linked: its coordinate on that axis and the ranges it spans
// on the other two (which give its four corners), whether it is the box's high face, and the box.
struct FaceRecord {
    uint32_t plane, lowA, lowB, highA, highB;
    uint32_t high;
    int box;

    bool sameCorners(const FaceRecord &o) const
    {
        return plane == o.plane && lowA == o.lowA && lowB == o.lowB && highA == o.highA && highB == o.highB;
    }
    bool operator<(const FaceRecord &o) const
    {
        return std::tie(plane, lowA, lowB, highA, highB, high, box) <
               std::tie(o.plane, o.lowA, o.lowB, o.highA, o.highB, o.high, o.box);
    }
};

// The faces of every box normal to `axis`, low and high.
std::vector<FaceRecord> facesNormalTo(const Envelopes &boxes, uint32_t axis)
{
    const uint32_t a = (axis + 1) % 3;
    const uint32_t b = (axis + 2) % 3;
    std::vector<FaceRecord> faces;
    faces.reserve(2 * boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        const RectangularCuboidEnvelope &box = *boxes[i];
        const uint32_t low[3] = {box.x, box.y, box.z};
        const uint32_t size[3] = {box.sizeX, box.sizeY, box.sizeZ};
        const uint32_t lowA = low[a], lowB = low[b], highA = low[a] + size[a], highB = low[b] + size[b];
        faces.push_back({low[axis], lowA, lowB, highA, highB, 0, int(i)});
        faces.push_back({low[axis] + size[axis], lowA, lowB, highA, highB, 1, int(i)});
    }
    return faces;
}

// Faces with the same corners end up next to each other once sorted; within such a run each low
// face links to the latest box whose high face it is, and each high face to the latest box whose
// low face it is.
void linkAlong(const Envelopes &boxes, uint32_t axis)
{
    std::vector<FaceRecord> faces = facesNormalTo(boxes, axis);
    std::sort(faces.begin(), faces.end());
    for (size_t begin = 0; begin < faces.size();) {
        size_t end = begin + 1;
        while (end < faces.size() && faces[end].sameCorners(faces[begin]))
            ++end;
        int latest[2] = {-1, -1}; // by side: low, high
        for (size_t f = begin; f < end; ++f)
            latest[faces[f].high] = std::max(latest[faces[f].high], faces[f].box);
        for (size_t f = begin; f < end; ++f) {
            const int other = latest[1 - faces[f].high];
            if (other >= 0 && other != faces[f].box)
                boxes[size_t(faces[f].box)]->setNeighbour(int(2 * axis + faces[f].high), boxes[size_t(other)].get());
        }
        begin = end;
    }
}

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
    for (uint32_t axis = 0; axis < 3; ++axis)
        linkAlong(boxes, axis);
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
