#include "OctreeSurface.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Geometry/FaceTable.h"
#include "Model/Geometry/OctreeNode.h"
#include "Util/SlabRunner.h"

#include <QDebug>

#include <algorithm>

namespace Model {
namespace Geometry {

namespace {

// Alpha classes of the octree surface (its own thresholds, looser than the direct cubic ones).
constexpr float kOpaqueAlphaAbove = 0.999f;
constexpr float kTranslucentAlphaAbove = 0.001f;

// Node origins and far corners are 32-bit cell coordinates, so the root edge is at most 2^31
// cells and a leaf lies at most 31 levels below the root.
constexpr uint64_t kCoordinateLimit = uint64_t(1) << 32;
constexpr int kMaxLevel = 31;

// A material the colour map does not know is drawn in the missing-material grey, so that cells
// of a material added after the map was taken still show up and still hide what lies behind them.
const Rgba &colorOf(const MaterialColorMap &colors, uint32_t material)
{
    const auto it = colors.find(material);
    return it == colors.end() ? kMissingMaterialColor : it->second;
}

bool isOpaque(const Rgba &color) { return color[3] > kOpaqueAlphaAbove; }
bool isTranslucent(const Rgba &color) { return color[3] > kTranslucentAlphaAbove && !isOpaque(color); }

// Sides come in pairs (lower, upper) along z, y, x: side k's partner is k ^ 1, its axis is
// 2 - k/2 and the child-index bit that selects the upper half along that axis is 1 << k/2.
int oppositeSide(int side) { return side ^ 1; }
int sideAxisBit(int side) { return 1 << (side / 2); }
bool isUpperSide(int side) { return (side & 1) != 0; }

// The root's level: its edge 2^level is the box's largest extent rounded up to a power of two.
// -1 when the tree would reach beyond 32-bit cell coordinates.
int rootLevel(const std::array<uint32_t, 3> &low, uint32_t extent)
{
    int level = 0;
    while (level < kMaxLevel && (uint32_t(1) << level) < extent)
        ++level;
    const uint64_t edge = uint64_t(1) << level;
    if (edge < extent)
        return -1;
    for (uint32_t origin : low) {
        if (origin + edge > kCoordinateLimit)
            return -1;
    }
    return level;
}

// Builds the octree of the cut box. Inserting the cells one by one, splitting leaves on the way
// down and collapsing uniform parents on the way up, ends in the unique tree in which a node is a
// leaf exactly when all its cells share one material. That tree is built here directly, in two
// passes that touch each cell once and allocate only the nodes of the final tree:
// 1. a pyramid of summaries: level l tells, for every cube of 2^l cells, its material when the
//    cube is uniform, or that it is mixed; level 1 is read from the cells row by row along z,
//    each further level from the one below;
// 2. from the root down, a uniform cube becomes a leaf and a mixed one a node with eight children.
class TreeBuilder {
public:
    TreeBuilder(const Automaton::Cell *cells, const Automaton::TotalVolume &volume,
                const std::array<uint32_t, 3> &lower, const std::array<uint32_t, 3> &upper)
        : cells(cells), volume(volume), lower(lower)
    {
        for (int a = 0; a < 3; ++a)
            extent[a] = upper[a] > lower[a] ? upper[a] - lower[a] : 0;
    }

    std::unique_ptr<OctreeNode> buildRoot(int level)
    {
        summarise(level);
        return makeNode(level, {0, 0, 0}, nullptr);
    }

private:
    // What a cube holds: one material throughout, or several.
    struct Summary {
        uint32_t material = 0;
        bool mixed = false;
    };

    // Summaries of the cubes of one edge length that reach into the box, x-major like the cells;
    // cubes beyond `count` lie outside the box and are empty.
    struct Level {
        std::array<uint32_t, 3> count{};
        std::vector<Summary> cubes;
    };

    // Cube coordinates are relative to the box's lower corner, in units of the cube's edge.
    Summary summaryAt(int level, uint32_t x, uint32_t y, uint32_t z) const
    {
        if (level == 0)
            return Summary{cellMaterial(x, y, z), false};
        const Level &l = levels[level];
        if (x >= l.count[0] || y >= l.count[1] || z >= l.count[2])
            return Summary{};
        return l.cubes[(size_t(x) * l.count[1] + y) * l.count[2] + z];
    }

    // Cut cells and cells outside the box count as empty.
    uint32_t cellMaterial(uint32_t x, uint32_t y, uint32_t z) const
    {
        if (x >= extent[0] || y >= extent[1] || z >= extent[2])
            return 0;
        const Automaton::Cell &cell = cells[volume.cellIndex(lower[0] + x, lower[1] + y, lower[2] + z)];
        return cell.uncutMaterial();
    }

    void summarise(int top)
    {
        levels.assign(size_t(top) + 1, Level{});
        for (int level = 1; level <= top; ++level) {
            Level &l = levels[level];
            for (int a = 0; a < 3; ++a)
                l.count[a] = uint32_t((uint64_t(extent[a]) + (uint64_t(1) << level) - 1) >> level);
            l.cubes.resize(size_t(l.count[0]) * l.count[1] * l.count[2]);
            // Each level is summarised in x slabs on the thread pool: a cube reads only the
            // level below, which is complete, and every slab writes its own cubes.
            const std::vector<Util::Slab> slabs = Util::splitLastSlabTakesRest(0, l.count[0], Util::slabThreadCount());
            Util::runSlabs(slabs, [&](size_t, Util::Slab slab) {
                Summary *out = l.cubes.data() + size_t(slab.begin) * l.count[1] * l.count[2];
                for (uint32_t x = slab.begin; x < slab.end; ++x)
                    for (uint32_t y = 0; y < l.count[1]; ++y)
                        for (uint32_t z = 0; z < l.count[2]; ++z)
                            *out++ = level == 1 ? mergeCells(2 * x, 2 * y, 2 * z)
                                                : mergeChildren(level - 1, 2 * x, 2 * y, 2 * z);
            });
        }
    }

    // The summary of the eight cells from (x, y, z) on; those wholly inside the box are read
    // straight from the cell array.
    Summary mergeCells(uint32_t x, uint32_t y, uint32_t z) const
    {
        if (x + 1 >= extent[0] || y + 1 >= extent[1] || z + 1 >= extent[2])
            return mergeChildren(0, x, y, z);
        const size_t nextY = volume.sizeZ();
        const size_t nextX = size_t(volume.sizeY()) * nextY;
        const Automaton::Cell *first = cells + volume.cellIndex(lower[0] + x, lower[1] + y, lower[2] + z);
        const uint32_t material = first[0].uncutMaterial();
        const Automaton::Cell *corners[4] = {first, first + nextY, first + nextX, first + nextX + nextY};
        for (const Automaton::Cell *row : corners)
            if (row[0].uncutMaterial() != material || row[1].uncutMaterial() != material)
                return Summary{0, true};
        return Summary{material, false};
    }

    Summary mergeChildren(int level, uint32_t x, uint32_t y, uint32_t z) const
    {
        const Summary first = summaryAt(level, x, y, z);
        if (first.mixed)
            return first;
        for (int i = 1; i < OctreeNode::kChildCount; ++i) {
            const Summary s = summaryAt(level, x + upperX(i), y + upperY(i), z + upperZ(i));
            if (s.mixed || s.material != first.material)
                return Summary{0, true};
        }
        return first;
    }

    std::unique_ptr<OctreeNode> makeNode(int level, const std::array<uint32_t, 3> &cube, OctreeNode *parent)
    {
        const Summary summary = summaryAt(level, cube[0], cube[1], cube[2]);
        auto node = std::make_unique<OctreeNode>();
        node->parent = parent;
        node->size = uint32_t(1) << level;
        for (int a = 0; a < 3; ++a)
            node->origin[a] = lower[a] + (cube[a] << level);
        node->material = summary.material;
        node->leaf = !summary.mixed;
        if (summary.mixed) {
            for (int i = 0; i < OctreeNode::kChildCount; ++i) {
                const std::array<uint32_t, 3> child = {2 * cube[0] + upperX(i), 2 * cube[1] + upperY(i),
                                                       2 * cube[2] + upperZ(i)};
                node->children[i] = makeNode(level - 1, child, node.get());
            }
        }
        return node;
    }

    static uint32_t upperX(int i) { return (i & OctreeNode::kUpperX) ? 1 : 0; }
    static uint32_t upperY(int i) { return (i & OctreeNode::kUpperY) ? 1 : 0; }
    static uint32_t upperZ(int i) { return (i & OctreeNode::kUpperZ) ? 1 : 0; }

    const Automaton::Cell *cells;
    const Automaton::TotalVolume &volume;
    std::array<uint32_t, 3> lower;
    std::array<uint32_t, 3> extent{};
    std::vector<Level> levels; // levels[0] stands for the cells themselves
};

template <typename Visit>
void forEachLeaf(const OctreeNode &node, Visit &&visit)
{
    if (node.leaf) {
        visit(node);
        return;
    }
    for (const auto &child : node.children)
        forEachLeaf(*child, visit);
}

// The leaves of `node` that touch its side `side`.
template <typename Visit>
void forEachLeafOnSide(const OctreeNode &node, int side, Visit &&visit)
{
    if (node.leaf) {
        visit(node);
        return;
    }
    const int bit = sideAxisBit(side);
    const bool upper = isUpperSide(side);
    for (int i = 0; i < OctreeNode::kChildCount; ++i) {
        if (((i & bit) != 0) == upper)
            forEachLeafOnSide(*node.children[i], side, visit);
    }
}

// The node across side `side` of `node`: the node of the same size there, or the leaf that
// covers that place when the tree stops earlier; null when `node` lies on the root's side.
// Climbs until an ancestor has a sibling on that side, then walks back down the mirrored path.
const OctreeNode *neighbourAcross(const OctreeNode &node, int side)
{
    const int bit = sideAxisBit(side);
    const bool upper = isUpperSide(side);
    int path[kMaxLevel];
    int depth = 0;
    for (const OctreeNode *n = &node; n->parent; n = n->parent) {
        const int i = n->indexInParent();
        if (((i & bit) != 0) != upper) {
            const OctreeNode *across = n->parent->children[i ^ bit].get();
            while (depth > 0 && !across->leaf)
                across = across->children[path[--depth] ^ bit].get();
            return across;
        }
        path[depth++] = i;
    }
    return nullptr;
}

// Appends the quads that show through the empty and translucent leaves of a tree.
class QuadEmitter {
public:
    QuadEmitter(const MaterialColorMap &colors, const float cellLength[3], std::vector<QuadFace> &opaque,
                std::vector<QuadFace> &translucent)
        : colors(colors), cellLength(cellLength), opaque(opaque), translucent(translucent)
    {
    }

    void emitAll(const OctreeNode &root)
    {
        forEachLeaf(root, [this](const OctreeNode &leaf) {
            if (letsLightThrough(leaf)) {
                for (int side = 0; side < kFaceCount; ++side)
                    emitAcross(leaf, side);
            }
        });
        // Outside the root counts as empty, and it is at least as large as any leaf.
        for (int side = 0; side < kFaceCount; ++side) {
            forEachLeafOnSide(root, side, [this, side](const OctreeNode &leaf) {
                contribute(leaf, side, true, leaf.origin, leaf.size);
            });
        }
    }

private:
    // Faces show into empty space and into leaves one sees through (translucent or invisible).
    bool letsLightThrough(const OctreeNode &leaf) const
    {
        return leaf.material == 0 || !isOpaque(colorOf(colors, leaf.material));
    }

    // The leaves across side `side` of `border` show their faces toward it. Each quad is the
    // part of the boundary the two leaves share: the contributor's whole face when it is no
    // larger than `border`, else the patch in front of `border`.
    void emitAcross(const OctreeNode &border, int side)
    {
        const OctreeNode *across = neighbourAcross(border, side);
        if (!across)
            return;
        const int facing = oppositeSide(side);
        const bool borderIsEmpty = border.material == 0;
        forEachLeafOnSide(*across, facing, [&](const OctreeNode &leaf) {
            if (leaf.size <= border.size) {
                contribute(leaf, facing, borderIsEmpty, leaf.origin, leaf.size);
                return;
            }
            std::array<uint32_t, 3> patch = border.origin;
            for (int a = 0; a < 3; ++a)
                patch[a] += uint32_t(kFaceNeighbour[side][a]) * border.size; // wraps to subtract for -1
            contribute(leaf, facing, borderIsEmpty, patch, border.size);
        });
    }

    // Side `side` of the cube (origin, size), drawn with the contributing leaf's material:
    // opaque leaves always show, translucent ones only toward empty space.
    void contribute(const OctreeNode &leaf, int side, bool borderIsEmpty, const std::array<uint32_t, 3> &origin,
                    uint32_t size)
    {
        if (leaf.material == 0)
            return;
        const Rgba &color = colorOf(colors, leaf.material);
        std::vector<QuadFace> *list = nullptr;
        if (isOpaque(color))
            list = &opaque;
        else if (isTranslucent(color) && borderIsEmpty)
            list = &translucent;
        if (!list)
            return;

        std::array<Point3f, 4> corners;
        for (int j = 0; j < 4; ++j) {
            for (int a = 0; a < 3; ++a)
                corners[j][a] = float(origin[a] + size * uint32_t(kFaceCorners[side][j][a])) * cellLength[a];
        }
        list->emplace_back(corners, side, color, leaf.material);
    }

    const MaterialColorMap &colors;
    const float *cellLength;
    std::vector<QuadFace> &opaque;
    std::vector<QuadFace> &translucent;
};

} // namespace

OctreeSurface::OctreeSurface() = default;
OctreeSurface::~OctreeSurface() = default;

void OctreeSurface::build(Automaton::TotalVolume &volume, const uint32_t lower[3], const uint32_t upper[3],
                          const MaterialColorMap &colors)
{
    if (!prepare(volume, lower, upper, colors))
        return;
    {
        const Automaton::CellReadLock lock(volume);
        buildTree(volume, lock.cells());
    }
    // The tree holds everything emission needs; the cells are free again.
    emitQuads();
}

void OctreeSurface::build(const Automaton::TotalVolume &volume, const Automaton::Cell *cells,
                          const uint32_t lower[3], const uint32_t upper[3], const MaterialColorMap &colors)
{
    if (!prepare(volume, lower, upper, colors))
        return;
    buildTree(volume, cells);
    emitQuads();
}

bool OctreeSurface::prepare(const Automaton::TotalVolume &volume, const uint32_t lower[3],
                            const uint32_t upper[3], const MaterialColorMap &colors)
{
    opaque.clear();
    translucent.clear();
    root.reset();
    materialColors = colors;
    cellLength[0] = volume.cellSizeX();
    cellLength[1] = volume.cellSizeY();
    cellLength[2] = volume.cellSizeZ();

    const uint32_t volumeSize[3] = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    uint32_t extent = 0;
    for (int a = 0; a < 3; ++a) {
        low[a] = lower[a];
        high[a] = std::min(upper[a], volumeSize[a]);
        if (high[a] > low[a])
            extent = std::max(extent, high[a] - low[a]);
    }
    level = rootLevel(low, extent);
    if (level < 0) {
        qWarning() << __FILE__ << Q_FUNC_INFO << "cut box too large for 32-bit octree coordinates";
        return false;
    }
    return true;
}

void OctreeSurface::buildTree(const Automaton::TotalVolume &volume, const Automaton::Cell *cells)
{
    root = TreeBuilder(cells, volume, low, high).buildRoot(level);
}

void OctreeSurface::emitQuads()
{
    QuadEmitter(materialColors, cellLength, opaque, translucent).emitAll(*root);
}

void OctreeSurface::recolor(bool selected)
{
    for (auto *list : {&opaque, &translucent}) {
        for (QuadFace &face : *list) {
            const Rgba &color = colorOf(materialColors, face.materialId);
            face.color = selected ? highlightColor(color) : color;
            face.outlineColor = face.color;
        }
    }
}

std::size_t OctreeSurface::leafCount() const
{
    std::size_t count = 0;
    if (root)
        forEachLeaf(*root, [&count](const OctreeNode &) { ++count; });
    return count;
}

} // namespace Geometry
} // namespace Model
