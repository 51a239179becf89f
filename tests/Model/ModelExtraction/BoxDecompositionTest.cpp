// Preprocessing of model extraction: boxes between the planes where the material changes, in
// the order they are grown, and their links across shared faces, which must be those of
// comparing every pair of boxes.

#include "common/Cells.h"

#include "Model/ModelExtraction/BoxDecomposition.h"

#include <array>
#include <gtest/gtest.h>
#include <random>

using namespace Model::ModelExtraction;
using TestSupport::volumeOf;

namespace {

// x, y, z, sizeX, sizeY, sizeZ, material
using Box = std::array<uint32_t, 7>;

std::vector<Box> boxesIn(const Envelopes &envelopes)
{
    std::vector<Box> out;
    for (const auto &e : envelopes)
        out.push_back({e->x, e->y, e->z, e->sizeX, e->sizeY, e->sizeZ, e->material});
    return out;
}

// The four corners of a face, as a comparison of every pair of boxes sees them.
std::array<std::array<uint32_t, 3>, 4> cornersOf(const RectangularCuboidEnvelope &b, int face)
{
    const uint32_t low[3] = {b.x, b.y, b.z};
    const uint32_t high[3] = {b.x + b.sizeX, b.y + b.sizeY, b.z + b.sizeZ};
    const int axis = face / 2;
    std::array<std::array<uint32_t, 3>, 4> corners{};
    for (int c = 0; c < 4; ++c) {
        int bit = 0;
        for (int a = 0; a < 3; ++a) {
            if (a == axis)
                corners[c][a] = face % 2 ? high[a] : low[a];
            else
                corners[c][a] = (c >> bit++) & 1 ? high[a] : low[a];
        }
    }
    return corners;
}

// The reference: every pair in list order, the first matching pair of opposite faces linked.
void linkEveryPair(const Envelopes &boxes)
{
    const int pairs[6][2] = {{0, 1}, {1, 0}, {2, 3}, {3, 2}, {4, 5}, {5, 4}};
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            for (const auto &p : pairs)
                if (cornersOf(*boxes[i], p[0]) == cornersOf(*boxes[j], p[1])) {
                    boxes[i]->setNeighbour(p[0], boxes[j].get());
                    boxes[j]->setNeighbour(p[1], boxes[i].get());
                    break;
                }
}

Envelopes copiesOf(const Envelopes &boxes)
{
    Envelopes out;
    for (const auto &b : boxes)
        out.push_back(std::make_shared<RectangularCuboidEnvelope>(b->x, b->y, b->z, b->sizeX, b->sizeY, b->sizeZ,
                                                                  b->material));
    return out;
}

// Links as indices into the list (-1 for none), with the counts, for comparing two linkings.
std::vector<int> linksOf(const Envelopes &boxes)
{
    std::vector<int> out;
    for (const auto &b : boxes) {
        for (auto *n : b->neighbours) {
            int index = -1;
            for (size_t k = 0; k < boxes.size(); ++k)
                if (boxes[k].get() == n)
                    index = int(k);
            out.push_back(index);
        }
        out.push_back(b->neighbourCount);
    }
    return out;
}

void expectSameLinks(const Envelopes &boxes)
{
    const Envelopes byMap = copiesOf(boxes);
    const Envelopes byPairs = copiesOf(boxes);
    linkNeighbours(byMap);
    linkEveryPair(byPairs);
    EXPECT_EQ(linksOf(byMap), linksOf(byPairs));
}

} // namespace

TEST(BoxDecomposition, VolumeOfOneMaterialIsOneBoxAndAnEmptyVolumeNone)
{
    auto full = volumeOf(5, 4, 3, [](uint32_t, uint32_t, uint32_t) { return 7u; });
    EXPECT_EQ(boxesIn(decomposeIntoBoxes(*full)), (std::vector<Box>{{0, 0, 0, 5, 4, 3, 7}}));

    auto empty = volumeOf(5, 4, 3, [](uint32_t, uint32_t, uint32_t) { return 0u; });
    EXPECT_TRUE(decomposeIntoBoxes(*empty).empty());
}

TEST(BoxDecomposition, PlanesAreSeenOnlyFromCellsInsideTheLastLayerOfEveryAxis)
{
    // Silicon below z = 2 and oxide above: one plane at z = 2.
    auto layered = volumeOf(3, 3, 4, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? 1u : 3u; });
    {
        const Model::Automaton::CellReadLock lock(*layered);
        const SplitPlanes planes = splitPlanesOf(lock.cells(), 3, 3, 4);
        EXPECT_TRUE(planes.x.empty());
        EXPECT_TRUE(planes.y.empty());
        EXPECT_EQ(planes.z, (std::vector<uint32_t>{2}));
    }
    EXPECT_EQ(boxesIn(decomposeIntoBoxes(*layered)), (std::vector<Box>{{0, 0, 0, 3, 3, 2, 1}, {0, 0, 2, 3, 3, 2, 3}}));

    // Oxide only in the upper half of the last x layer: the x plane is seen from x = 1, but the z
    // change inside the last layer is never compared, so that layer is one box of its seed's
    // material over cells of another one.
    auto lastLayer = volumeOf(3, 3, 4, [](uint32_t x, uint32_t, uint32_t z) { return x == 2 && z >= 2 ? 3u : 1u; });
    EXPECT_EQ(boxesIn(decomposeIntoBoxes(*lastLayer)),
              (std::vector<Box>{{0, 0, 0, 2, 3, 4, 1}, {2, 0, 0, 1, 3, 4, 1}}));
}

TEST(BoxDecomposition, BoxesAreGrownBreadthFirstAlongXThenYThenZ)
{
    // Planes at x = 2 and z = 1 (a silicon floor one cell thick, a post of silicon at x < 2):
    // from (0,0,0) the seeds (2,0,0) and (0,0,1) follow, then (2,0,1); the empty box is left out.
    auto volume = volumeOf(4, 2, 3, [](uint32_t x, uint32_t, uint32_t z) { return z < 1 || x < 2 ? 1u : 0u; });
    EXPECT_EQ(boxesIn(decomposeIntoBoxes(*volume)),
              (std::vector<Box>{{0, 0, 0, 2, 2, 1, 1}, {2, 0, 0, 2, 2, 1, 1}, {0, 0, 1, 2, 2, 2, 1}}));
}

TEST(BoxDecomposition, NeighbourCountFollowsFacesThatHoldABox)
{
    RectangularCuboidEnvelope box, a, b;
    box.setNeighbour(HighX, &a);
    box.setNeighbour(LowY, &a);
    EXPECT_EQ(box.neighbourCount, 2);
    box.setNeighbour(HighX, &b); // replaced, not added
    EXPECT_EQ(box.neighbourCount, 2);
    box.setNeighbour(LowY, nullptr);
    box.setNeighbour(LowY, nullptr); // clearing an empty face changes nothing
    EXPECT_EQ(box.neighbourCount, 1);
}

// Random boxes on a coarse grid, so that faces often meet and overlapping boxes offer the same
// face more than once (then the latest box in the list holds the link), then the boxes that
// random volumes decompose into.
TEST(BoxDecomposition, LinkingThroughFaceCornersGivesTheLinksOfComparingEveryPair)
{
    std::mt19937 random(20240516);
    std::uniform_int_distribution<uint32_t> position(0, 4), size(1, 3), material(1, 3);
    for (int round = 0; round < 200; ++round) {
        Envelopes boxes;
        const int count = 1 + int(random() % 40);
        for (int i = 0; i < count; ++i) {
            const uint32_t x = position(random), y = position(random), z = position(random);
            boxes.push_back(std::make_shared<RectangularCuboidEnvelope>(x, y, z, size(random), size(random),
                                                                        size(random), material(random)));
        }
        expectSameLinks(boxes);
        if (HasFailure())
            FAIL() << "round " << round;
    }
    // And the boxes of random volumes.
    for (int round = 0; round < 30; ++round) {
        const uint32_t sx = 2 + random() % 7, sy = 2 + random() % 7, sz = 2 + random() % 7;
        auto volume = volumeOf(sx, sy, sz, [&](uint32_t, uint32_t, uint32_t) {
            return random() % 4 == 0 ? 0u : uint32_t(1 + random() % 2);
        });
        const Model::Automaton::CellReadLock lock(*volume);
        const Envelopes boxes = boxesOf(lock.cells(), sx, sy, sz, splitPlanesOf(lock.cells(), sx, sy, sz));
        expectSameLinks(boxes);
        if (HasFailure())
            FAIL() << "round " << round;
    }
}
