// Octree surface: collapse of uniform regions, recolouring, and the main property that the quads,
// corners in length units, cover exactly the cell faces a cell-by-cell surface shows under the
// same rules between opaque, translucent, invisible, cut and empty cells.
#include "PainterTestSupport.h"

#include "Model/Geometry/OctreeSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <tuple>

using Model::Automaton::Cell;
using Model::Automaton::TotalVolume;
using PainterTestSupport::describe;
using Model::Geometry::kFaceCorners;
using Model::Geometry::kFaceNeighbour;
using Model::Geometry::MaterialColorMap;
using Model::Geometry::OctreeSurface;
using Model::Geometry::QuadFace;
using Model::Geometry::Rgba;

namespace {

constexpr uint32_t kRed = 1;       // opaque
constexpr uint32_t kGreen = 2;     // opaque
constexpr uint32_t kGlass = 3;     // translucent
constexpr uint32_t kHaze = 4;      // translucent
constexpr uint32_t kInvisible = 5; // alpha 0
constexpr uint32_t kUnlisted = 9;  // not in the colour map: opaque grey

const MaterialColorMap kColors = {
    {0, {0.0f, 0.0f, 0.0f, 0.0f}},       {kRed, {0.8f, 0.2f, 0.2f, 1.0f}},
    {kGreen, {0.2f, 0.8f, 0.2f, 1.0f}},  {kGlass, {0.2f, 0.2f, 0.8f, 0.5f}},
    {kHaze, {0.9f, 0.9f, 0.1f, 0.3f}},   {kInvisible, {1.0f, 1.0f, 1.0f, 0.0f}},
};
const Rgba kGrey = {0.5f, 0.5f, 0.5f, 1.0f};

Rgba colorOf(uint32_t material)
{
    const auto it = kColors.find(material);
    return it == kColors.end() ? kGrey : it->second;
}

bool isOpaque(uint32_t material) { return colorOf(material)[3] > 0.999f; }
bool isTranslucent(uint32_t material) { return !isOpaque(material) && colorOf(material)[3] > 0.001f; }

// Axis (0 = x, 1 = y, 2 = z) that side k faces along.
int sideAxis(int side) { return 2 - side / 2; }

struct Box {
    uint32_t lower[3];
    uint32_t upper[3];
    bool contains(int64_t x, int64_t y, int64_t z) const
    {
        return x >= lower[0] && x < upper[0] && y >= lower[1] && y < upper[1] && z >= lower[2] && z < upper[2];
    }
};

std::unique_ptr<TotalVolume> makeVolume(uint32_t nx, uint32_t ny, uint32_t nz, std::vector<uint32_t> materials = {},
                                        float sx = 1.0f, float sy = 1.0f, float sz = 1.0f)
{
    materials.resize(size_t(nx) * ny * nz, 0);
    return std::make_unique<TotalVolume>(nx, ny, nz, sx, sy, sz, Util::Vector3D(), materials);
}

Box wholeVolume(const TotalVolume &volume) { return Box{{0, 0, 0}, {volume.sizeX(), volume.sizeY(), volume.sizeZ()}}; }

void buildOver(OctreeSurface &surface, TotalVolume &volume, const Box &box)
{
    surface.build(volume, box.lower, box.upper, kColors);
}

// One cell face: the cell (x, y, z) that shows it, the side, the material.
using UnitFace = std::tuple<uint32_t, uint32_t, uint32_t, int, uint32_t>;

// The faces the octree's rules make visible, found cell by cell: an opaque cell shows a face
// toward anything that is not an opaque, uncut cell of the box; a translucent cell only toward
// empty space (outside the box, empty or cut).
void referenceFaces(TotalVolume &volume, const Box &box, std::vector<UnitFace> &opaque,
                    std::vector<UnitFace> &translucent)
{
    const Model::Automaton::CellReadLock lock(volume);
    auto shown = [&](int64_t x, int64_t y, int64_t z) -> uint32_t {
        if (!box.contains(x, y, z))
            return 0;
        const Cell &cell = lock.cells()[volume.cellIndex(uint32_t(x), uint32_t(y), uint32_t(z))];
        return cell.isCut() ? 0 : cell.material();
    };
    for (uint32_t x = box.lower[0]; x < box.upper[0]; ++x)
        for (uint32_t y = box.lower[1]; y < box.upper[1]; ++y)
            for (uint32_t z = box.lower[2]; z < box.upper[2]; ++z) {
                const uint32_t material = shown(x, y, z);
                if (material == 0)
                    continue;
                for (int side = 0; side < 6; ++side) {
                    const uint32_t across = shown(int64_t(x) + kFaceNeighbour[side][0], int64_t(y) + kFaceNeighbour[side][1],
                                                  int64_t(z) + kFaceNeighbour[side][2]);
                    if (isOpaque(material) && !(across != 0 && isOpaque(across)))
                        opaque.emplace_back(x, y, z, side, material);
                    else if (isTranslucent(material) && across == 0)
                        translucent.emplace_back(x, y, z, side, material);
                }
            }
}

// Splits a quad into the cell faces it covers, after checking that it is the face `normalIndex`
// of an axis-aligned cube of whole cells, corners in face-table order, in the material's colour.
void rasterise(const QuadFace &quad, const float length[3], std::vector<UnitFace> &out)
{
    const int side = quad.normalIndex;
    const int axis = sideAxis(side);
    const bool upper = side & 1;
    int64_t lo[3], hi[3];
    for (int a = 0; a < 3; ++a) {
        lo[a] = hi[a] = std::llround(quad.vertices[0][a] / length[a]);
        for (const auto &v : quad.vertices) {
            lo[a] = std::min<int64_t>(lo[a], std::llround(v[a] / length[a]));
            hi[a] = std::max<int64_t>(hi[a], std::llround(v[a] / length[a]));
        }
    }
    ASSERT_EQ(lo[axis], hi[axis]) << quad;
    const int64_t edge = hi[(axis + 1) % 3] - lo[(axis + 1) % 3];
    ASSERT_GT(edge, 0) << quad;
    ASSERT_EQ(edge, hi[(axis + 2) % 3] - lo[(axis + 2) % 3]) << quad;

    int64_t origin[3] = {lo[0], lo[1], lo[2]};
    origin[axis] = upper ? lo[axis] - edge : lo[axis];
    for (int j = 0; j < 4; ++j)
        for (int a = 0; a < 3; ++a)
            ASSERT_FLOAT_EQ(quad.vertices[j][a], float(origin[a] + edge * kFaceCorners[side][j][a]) * length[a])
                << quad << " corner " << j;
    EXPECT_EQ(quad.color, colorOf(quad.materialId)) << quad;
    EXPECT_EQ(quad.outlineColor, quad.color) << quad;

    int64_t cell[3];
    cell[axis] = upper ? lo[axis] - 1 : lo[axis];
    const int b = (axis + 1) % 3, c = (axis + 2) % 3;
    for (cell[b] = lo[b]; cell[b] < hi[b]; ++cell[b])
        for (cell[c] = lo[c]; cell[c] < hi[c]; ++cell[c])
            out.emplace_back(uint32_t(cell[0]), uint32_t(cell[1]), uint32_t(cell[2]), side, quad.materialId);
}

std::vector<UnitFace> rasteriseAll(const std::vector<QuadFace> &quads, const float length[3])
{
    std::vector<UnitFace> faces;
    for (const QuadFace &quad : quads)
        rasterise(quad, length, faces);
    return faces;
}

// Empty when both hold the same faces the same number of times; else the first differences.
std::string differences(std::vector<UnitFace> expected, std::vector<UnitFace> actual)
{
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    std::vector<UnitFace> missing, extra;
    std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(), std::back_inserter(missing));
    std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    std::ostringstream out;
    constexpr size_t kShown = 5;
    for (size_t i = 0; i < std::min(kShown, missing.size()); ++i)
        out << "missing " << ::testing::PrintToString(missing[i]) << "\n";
    for (size_t i = 0; i < std::min(kShown, extra.size()); ++i)
        out << "extra (or repeated) " << ::testing::PrintToString(extra[i]) << "\n";
    return out.str();
}

int countWithNormal(const std::vector<QuadFace> &quads, int side)
{
    return int(std::count_if(quads.begin(), quads.end(), [side](const QuadFace &q) { return q.normalIndex == side; }));
}

// Blocks of random materials, then single-cell noise and scattered cuts at the rate `speckle`.
std::unique_ptr<TotalVolume> randomVolume(std::mt19937 &rng, uint32_t nx, uint32_t ny, uint32_t nz, double speckle)
{
    const uint32_t palette[] = {0, 0, kRed, kGreen, kGlass, kHaze, kInvisible, kUnlisted};
    auto pick = [&]() { return palette[std::uniform_int_distribution<size_t>(0, std::size(palette) - 1)(rng)]; };
    auto coordinate = [&](uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng); };
    auto chance = [&](double p) { return std::bernoulli_distribution(p)(rng); };

    std::vector<uint32_t> materials(size_t(nx) * ny * nz, 0);
    auto index = [&](uint32_t x, uint32_t y, uint32_t z) { return (size_t(x) * ny + y) * nz + z; };
    for (int block = 0; block < 6; ++block) {
        const uint32_t x0 = coordinate(nx), y0 = coordinate(ny), z0 = coordinate(nz);
        const uint32_t x1 = std::min(nx, x0 + 1 + coordinate(nx)), y1 = std::min(ny, y0 + 1 + coordinate(ny)),
                       z1 = std::min(nz, z0 + 1 + coordinate(nz));
        const uint32_t material = block == 0 ? kRed : block == 1 ? kGlass : pick(); // both classes present
        for (uint32_t x = x0; x < x1; ++x)
            for (uint32_t y = y0; y < y1; ++y)
                for (uint32_t z = z0; z < z1; ++z)
                    materials[index(x, y, z)] = material;
    }
    for (uint32_t &m : materials)
        if (chance(speckle))
            m = pick();

    auto volume = makeVolume(nx, ny, nz, materials, 2.0f, 0.5f, 1.0f);
    const Model::Automaton::CellLock lock(*volume);
    for (uint32_t i = 0; i < volume->cellCount(); ++i)
        if (chance(speckle))
            lock.cells()[i].setCutCount(1 + coordinate(3));
    return volume;
}

TEST(OctreeSurface, QuadsCoverExactlyTheVisibleCellFacesOfRandomVolumes)
{
    const uint32_t sizes[][3] = {{13, 10, 7}, {9, 17, 5}, {6, 6, 20}, {16, 16, 16}};
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        const auto &n = sizes[seed % std::size(sizes)];
        // Sparse speckles leave large leaves beside single cells; dense ones leave few large leaves.
        const double speckle = seed % 3 == 0 ? 0.1 : 0.01;
        auto volume = randomVolume(rng, n[0], n[1], n[2], speckle);
        Box box = wholeVolume(*volume);
        if (seed % 2 == 0) { // a cut box inside the volume
            for (int a = 0; a < 3; ++a) {
                box.lower[a] = std::uniform_int_distribution<uint32_t>(0, n[a] / 3)(rng);
                box.upper[a] = n[a] - std::uniform_int_distribution<uint32_t>(0, n[a] / 3)(rng);
            }
        }
        SCOPED_TRACE("seed " + std::to_string(seed));

        OctreeSurface surface;
        buildOver(surface, *volume, box);
        std::vector<UnitFace> opaque, translucent;
        referenceFaces(*volume, box, opaque, translucent);
        ASSERT_FALSE(opaque.empty());
        ASSERT_FALSE(translucent.empty());

        const float length[3] = {volume->cellSizeX(), volume->cellSizeY(), volume->cellSizeZ()};
        const auto opaqueQuads = rasteriseAll(surface.opaqueFaces(), length);
        const auto translucentQuads = rasteriseAll(surface.translucentFaces(), length);
        EXPECT_EQ(differences(opaque, opaqueQuads), "");
        EXPECT_EQ(differences(translucent, translucentQuads), "");
    }
}

// The tree is summarised in x slabs on the thread pool; the quads must not depend on how many.
TEST(OctreeSurface, SameQuadsInTheSameOrderWhateverTheThreadCount)
{
    std::mt19937 rng(77);
    auto volume = randomVolume(rng, 37, 12, 21, 0.05);
    for (const Box &box : {wholeVolume(*volume), Box{{5, 1, 2}, {9, 12, 19}}}) {
        std::pair<std::vector<std::string>, std::vector<std::string>> single;
        for (int threads : TestSupport::kThreadCounts) {
            const TestSupport::ScopedThreadCount scoped(threads);
            OctreeSurface surface;
            buildOver(surface, *volume, box);
            const auto quads = std::make_pair(describe(surface.opaqueFaces()), describe(surface.translucentFaces()));
            if (threads == 1)
                single = quads;
            EXPECT_EQ(quads, single) << threads << " threads";
        }
        EXPECT_FALSE(single.first.empty() && single.second.empty());
    }
}

TEST(OctreeSurface, UniformRegionsCollapseIntoLargeLeaves)
{
    OctreeSurface surface;
    auto full = makeVolume(8, 8, 8, std::vector<uint32_t>(512, kGreen));
    buildOver(surface, *full, wholeVolume(*full));
    EXPECT_EQ(surface.leafCount(), 1u);
    EXPECT_EQ(surface.opaqueFaces().size(), 6u);

    // Lower half filled: the root's eight children stay whole. Bottom and top show four
    // 4×4 quads each (the top ones found from the empty leaves above), each wall two.
    std::vector<uint32_t> lowerHalf(512);
    for (size_t i = 0; i < lowerHalf.size(); ++i)
        lowerHalf[i] = i % 8 < 4 ? kRed : 0;
    auto half = makeVolume(8, 8, 8, lowerHalf);
    buildOver(surface, *half, wholeVolume(*half));
    EXPECT_EQ(surface.leafCount(), 8u);
    EXPECT_EQ(surface.opaqueFaces().size(), 16u);
    EXPECT_EQ(countWithNormal(surface.opaqueFaces(), 0), 4);
    EXPECT_EQ(countWithNormal(surface.opaqueFaces(), 1), 4);

    // One cell in a corner splits one octant down to single cells: 7 + 8 leaves.
    auto corner = makeVolume(4, 4, 4, {kRed});
    buildOver(surface, *corner, wholeVolume(*corner));
    EXPECT_EQ(surface.leafCount(), 15u);
    EXPECT_EQ(surface.opaqueFaces().size(), 6u);

    // A cut box with no cells yields nothing.
    buildOver(surface, *full, Box{{2, 2, 2}, {2, 8, 8}});
    EXPECT_TRUE(surface.opaqueFaces().empty());
    EXPECT_TRUE(surface.translucentFaces().empty());
}

TEST(OctreeSurface, RecolorHighlightsWhenSelectedAndRestoresWhenNot)
{
    auto volume = makeVolume(3, 1, 1, {kRed, kGlass, kUnlisted});
    OctreeSurface surface;
    buildOver(surface, *volume, wholeVolume(*volume));
    ASSERT_EQ(surface.opaqueFaces().size() + surface.translucentFaces().size(), 16u);

    for (bool selected : {true, false}) {
        surface.recolor(selected);
        for (const auto *list : {&surface.opaqueFaces(), &surface.translucentFaces()})
            for (const QuadFace &q : *list) {
                const Rgba catalogue = colorOf(q.materialId);
                EXPECT_EQ(q.color, selected ? Model::Geometry::highlightColor(catalogue) : catalogue) << q;
                EXPECT_EQ(q.outlineColor, q.color) << q;
            }
    }
    // The unlisted material is drawn opaque grey.
    EXPECT_EQ(std::count_if(surface.opaqueFaces().begin(), surface.opaqueFaces().end(),
                            [](const QuadFace &q) { return q.materialId == kUnlisted && q.color == kGrey; }),
              6);
}

} // namespace
