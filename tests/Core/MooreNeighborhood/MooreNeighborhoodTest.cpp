// Moore deposition and etching in the chessboard metric: by hand on small shapes and against a
// breadth-first search of the same law on scrambled volumes, for every thread count.

#include "../CellChecks.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDeposition.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtching.h"
#include "common/Materials.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <random>

using namespace Core::Operations;
using namespace TestSupport;

namespace {

constexpr uint32_t kFilm = kAluminium;

uint32_t chessboardDistanceToBox(uint32_t x, uint32_t y, uint32_t z, uint32_t low, uint32_t high)
{
    auto axis = [&](uint32_t v) { return v < low ? low - v : v >= high ? v - high + 1 : 0u; };
    return std::max({axis(x), axis(y), axis(z)});
}

// The law itself: every cell of `through` within `layers` steps of a seed, stepping through cells
// of `through` to any of the 26 neighbours, becomes `becomes`. Seeds are the cells of `through`
// next to a cell for which `seedNeighbour` holds.
std::vector<uint32_t> expectedBySearch(TotalVolume &volume, uint32_t through, uint32_t becomes, uint32_t layers,
                                       bool seedNextToEmpty)
{
    std::vector<uint32_t> cells = materialsOf(volume);
    const int sx = int(volume.sizeX()), sy = int(volume.sizeY()), sz = int(volume.sizeZ());
    auto index = [&](int x, int y, int z) { return size_t((x * sy + y) * sz + z); };
    std::vector<uint32_t> distance(cells.size(), UINT32_MAX);
    std::deque<std::array<int, 3>> queue;
    auto forNeighbours = [&](int x, int y, int z, auto visit) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dz = -1; dz <= 1; ++dz) {
                    const int nx = x + dx, ny = y + dy, nz = z + dz;
                    if ((dx || dy || dz) && nx >= 0 && ny >= 0 && nz >= 0 && nx < sx && ny < sy && nz < sz)
                        visit(nx, ny, nz);
                }
    };
    for (int x = 0; x < sx; ++x)
        for (int y = 0; y < sy; ++y)
            for (int z = 0; z < sz; ++z) {
                if (cells[index(x, y, z)] != through)
                    continue;
                bool seed = false;
                forNeighbours(x, y, z, [&](int nx, int ny, int nz) {
                    seed = seed || ((cells[index(nx, ny, nz)] == 0) == seedNextToEmpty);
                });
                if (seed) {
                    distance[index(x, y, z)] = 1;
                    queue.push_back({x, y, z});
                }
            }
    while (!queue.empty()) {
        const auto at = queue.front();
        queue.pop_front();
        const uint32_t next = distance[index(at[0], at[1], at[2])] + 1;
        forNeighbours(at[0], at[1], at[2], [&](int nx, int ny, int nz) {
            const size_t i = index(nx, ny, nz);
            if (cells[i] == through && distance[i] == UINT32_MAX) {
                distance[i] = next;
                queue.push_back({nx, ny, nz});
            }
        });
    }
    for (size_t i = 0; i < cells.size(); ++i)
        if (distance[i] <= layers)
            cells[i] = becomes;
    return cells;
}

// Silicon with oxide inclusions and empty pores, a fixed scramble per seed.
std::shared_ptr<TotalVolume> scrambledVolume(uint32_t sx, uint32_t sy, uint32_t sz, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, 9);
    return volumeOf(sx, sy, sz, [&](uint32_t, uint32_t, uint32_t z) {
        const int r = pick(random);
        if (z >= sz / 2)
            return r == 0 ? kSilicon : 0u;
        return r < 2 ? 0u : r < 4 ? kOxide : kSilicon;
    });
}

} // namespace

TEST(MooreDeposition, OneLayerOnACubeIsASquareShellCornersIncluded)
{
    auto volume = volumeOf(7, 7, 7, [](uint32_t x, uint32_t y, uint32_t z) {
        return chessboardDistanceToBox(x, y, z, 2, 5) == 0 ? kSilicon : 0u;
    });
    depositMooreFilm(*volume, kFilm, 1);
    CoreTest::expectCells(*volume, [](uint32_t x, uint32_t y, uint32_t z) {
        const uint32_t d = chessboardDistanceToBox(x, y, z, 2, 5);
        return d == 0 ? kSilicon : d == 1 ? kFilm : 0u;
    });
    EXPECT_EQ(materialAt(*volume, 1, 1, 1), kFilm) << "the diagonal corner";
}

TEST(MooreDeposition, ZeroLayersAndAHugeCountEndWhereTheyShould)
{
    auto volume = flatVolume(5, 5, 6, 2, kSilicon);
    const auto before = materialsOf(*volume);
    depositMooreFilm(*volume, kFilm, 0);
    EXPECT_EQ(materialsOf(*volume), before);
    // The front runs out once the empty space is full, long before the count.
    depositMooreFilm(*volume, kFilm, 999999999u);
    EXPECT_EQ(countInColumn(*volume, 2, 2, kFilm), 4u);
}

TEST(MooreEtching, StopsAtOtherMaterialsAndNeverReachesEnclosedCells)
{
    // Silicon below z = 6 under an oxide cap over x < 4, and a silicon cell sealed in oxide.
    auto volume = volumeOf(8, 4, 8, [](uint32_t x, uint32_t, uint32_t z) {
        if (x == 1 && z == 1)
            return kSilicon;
        if (x < 3 && z < 3)
            return kOxide;
        if (x < 4 && z >= 4 && z < 6)
            return kOxide;
        return z < 6 ? kSilicon : 0u;
    });
    const auto law = expectedBySearch(*volume, kSilicon, 0, 3, true); // keeps every oxide cell
    etchMooreFilm(*volume, kSilicon, 3);
    EXPECT_EQ(materialAt(*volume, 1, 2, 1), kSilicon) << "sealed in oxide";
    // Open silicon loses three layers; under the cap the etch reaches in diagonally.
    EXPECT_EQ(countInColumn(*volume, 6, 2, kSilicon), 3u);
    EXPECT_EQ(materialAt(*volume, 3, 2, 3), 0u) << "third layer: (4, 5), (4, 4), then (3, 3)";
    EXPECT_EQ(materialAt(*volume, 2, 2, 3), kSilicon) << "a fourth layer away";
    EXPECT_EQ(materialsOf(*volume), law);
}

TEST(MooreSteps, EveryThreadCountGivesTheCellsOfTheLaw)
{
    // Sizes along x below twice 8 threads (one slab), at it, and well above it with a remainder;
    // z rows of one word, and of three with the last one partial, so that the film crosses word
    // boundaries; and a few lone seeds far apart in a mostly empty volume, whose fronts cover
    // small parts of their planes.
    std::vector<std::shared_ptr<TotalVolume>> volumes;
    for (uint32_t sizeX : {5u, 15u, 16u, 29u})
        volumes.push_back(scrambledVolume(sizeX, 7, 10, sizeX));
    volumes.push_back(scrambledVolume(11, 4, 150, 3));
    // Flat volumes: a single z layer, and a single y row.
    volumes.push_back(scrambledVolume(9, 6, 1, 5));
    volumes.push_back(scrambledVolume(7, 1, 70, 6));
    volumes.push_back(volumeOf(17, 9, 140, [](uint32_t x, uint32_t y, uint32_t z) {
        const bool seed = (x == 2 && y == 1 && z == 63) || (x == 14 && y == 7 && z == 64) || (x == 8 && y == 4 && z == 0)
                          || (x == 16 && y == 0 && z == 139);
        return seed ? kSilicon : 0u;
    }));
    for (const auto &volume : volumes) {
        const auto start = materialsOf(*volume);
        const auto wantDeposit = expectedBySearch(*volume, 0, kFilm, 3, false);
        const auto wantEtch = expectedBySearch(*volume, kSilicon, 0, 2, true);
        for (int threads : kThreadCounts) {
            ScopedThreadCount count(threads);
            setMaterials(*volume, start);
            depositMooreFilm(*volume, kFilm, 3);
            EXPECT_EQ(materialsOf(*volume), wantDeposit) << "deposition, " << volume->sizeX() << ", " << threads;
            setMaterials(*volume, start);
            etchMooreFilm(*volume, kSilicon, 2);
            EXPECT_EQ(materialsOf(*volume), wantEtch) << "etching, " << volume->sizeX() << ", " << threads;
        }
    }
}
