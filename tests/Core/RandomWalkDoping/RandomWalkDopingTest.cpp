// Random-walk doping: surface clamp, periodic sides, open top and bottom, continuation of a field,
// threshold, the erfc profile, thread counts, and the operation through the application model.

#include "../CellChecks.h"
#include "../StepRun.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDoping.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDopingOperation.h"
#include "Model/Automaton/ParticleCountField.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Core::Operations;
using namespace TestSupport;
using Model::Automaton::ParticleCountField;

namespace {

constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;
constexpr uint32_t kPDoped = Model::Materials::kPDopedSiliconMaterial;
constexpr uint32_t kSeed = 20261207;

// 1 µm cells, so that a concentration of n · 1e18 m⁻³ is n particles per cell; p = 6·D·Δt/a².
// The counts are a³·C truncated with a³ in single precision, just below 1e-18 m³: half a
// particle more keeps n whole.
RandomWalkDopingParameters micronCells(double hopProbability, double steps, double surfaceParticles,
                                       double thresholdParticles, uint32_t doped = kNDoped)
{
    RandomWalkDopingParameters p;
    p.cellSize = 1e-6;
    p.timeStep = 0.1;
    p.diffusionCoefficient = hopProbability * 1e-12 / (6.0 * p.timeStep);
    p.dopingTime = steps * p.timeStep;
    p.surfaceConcentration = (surfaceParticles + 0.5) * 1e18;
    p.threshold = (thresholdParticles + 0.5) * 1e18;
    p.dopedMaterial = doped;
    return p;
}

std::shared_ptr<ParticleCountField> attachField(TotalVolume &volume, uint32_t doped = kNDoped)
{
    auto field = std::make_shared<ParticleCountField>(volume.cellCount());
    volume.setParticleCountField(ParticleCountField::nameFor(doped), field);
    return field;
}

uint32_t countAt(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z, uint32_t doped = kNDoped)
{
    const Model::Automaton::CellReadLock lock(volume);
    return volume.particleCountField(ParticleCountField::nameFor(doped))->particleCount(volume.cellIndex(x, y, z));
}

uint64_t totalCount(TotalVolume &volume)
{
    const Model::Automaton::CellReadLock lock(volume);
    const auto field = volume.particleCountField(ParticleCountField::kTypeNName);
    uint64_t sum = 0;
    for (uint32_t i = 0; i < volume.cellCount(); ++i)
        sum += field->particleCount(i);
    return sum;
}

// Silicon with a trench open to the top, an oxide cap on one side and a void inside.
std::shared_ptr<TotalVolume> trench(uint32_t sizeX)
{
    return volumeOf(sizeX, 5, 12, [](uint32_t x, uint32_t y, uint32_t z) {
        if (x == 1 && y == 2 && z == 3)
            return 0u;
        if (z >= 8)
            return x < 2 && z == 8 ? kOxide : 0u;
        return x >= 3 && x < 5 && z >= 5 ? 0u : kSilicon;
    });
}

} // namespace

TEST(RandomWalkDoping, CellsBesideAnEmptyCellAreHeldAtTheSurfaceCount)
{
    auto column = volumeOf(1, 1, 4, [](uint32_t, uint32_t, uint32_t z) { return z < 3 ? kSilicon : 0u; });
    auto field = attachField(*column);
    std::fill(field->counters(2), field->counters(2) + 7, 999u); // whatever it held before
    for (int steps : {1, 5}) {
        dopeByRandomWalk(*column, micronCells(0.6, steps, 50, 1000), kSeed);
        EXPECT_EQ(countAt(*column, 0, 0, 2), 50u) << steps;
    }
    // With no particles at the surface, the cell walks like any other: nothing comes in.
    auto quiet = volumeOf(1, 1, 4, [](uint32_t, uint32_t, uint32_t z) { return z < 3 ? kSilicon : 0u; });
    dopeByRandomWalk(*quiet, micronCells(0.6, 5, 0, 1000), kSeed);
    EXPECT_EQ(totalCount(*quiet), 0u);
}

TEST(RandomWalkDoping, SidesWrapAroundAndTopAndBottomLoseTheirParticles)
{
    // With D = 0 particles already on their way arrive and then stay put: each step is exact.
    auto sheet = flatVolume(3, 3, 1, 1, kSilicon);
    auto field = attachField(*sheet);
    field->counters(sheet->cellIndex(0, 1, 0))[5] = 10; // leaving x = 0 towards x − 1
    field->counters(sheet->cellIndex(1, 0, 0))[3] = 7;  // leaving y = 0 towards y − 1
    field->counters(sheet->cellIndex(1, 1, 0))[0] = 4;  // leaving through the top
    field->counters(sheet->cellIndex(1, 1, 0))[1] = 3;  // leaving through the bottom
    dopeByRandomWalk(*sheet, micronCells(0.0, 1, 0, 8), kSeed);
    EXPECT_EQ(countAt(*sheet, 2, 1, 0), 10u);
    EXPECT_EQ(countAt(*sheet, 1, 2, 0), 7u);
    EXPECT_EQ(totalCount(*sheet), 17u);
    // Only the cell that gathered more than 8 particles is doped.
    EXPECT_EQ(materialAt(*sheet, 2, 1, 0), kNDoped);
    EXPECT_EQ(materialAt(*sheet, 1, 2, 0), kSilicon);
}

TEST(RandomWalkDoping, ALaterRunContinuesFromTheFieldOfTheSameDopant)
{
    auto slab = flatVolume(2, 2, 3, 3, kSilicon);
    auto field = attachField(*slab);
    field->counters(slab->cellIndex(1, 1, 1))[6] = 30;
    // A run shorter than one step only attaches the fields it lacks.
    dopeByRandomWalk(*slab, micronCells(0.5, 0.5, 0, 10, kPDoped), kSeed);
    EXPECT_EQ(slab->particleCountFieldNames(),
              QStringList({ParticleCountField::kTypeNName, ParticleCountField::kTypePName}));
    EXPECT_EQ(countAt(*slab, 1, 1, 1, kPDoped), 0u);
    EXPECT_EQ(materialsOf(*slab), std::vector<uint32_t>(12, kSilicon));
    dopeByRandomWalk(*slab, micronCells(0.0, 3, 0, 10), kSeed);
    EXPECT_EQ(countAt(*slab, 1, 1, 1), 30u);
    EXPECT_EQ(materialAt(*slab, 1, 1, 1), kNDoped);
    EXPECT_EQ(totalCount(*slab), 30u);
}

TEST(RandomWalkDoping, CellsThatAreNotDopableHoldNoParticles)
{
    auto stack = volumeOf(1, 1, 4, [](uint32_t, uint32_t, uint32_t z) { return z < 2 ? kSilicon : kOxide; });
    auto field = attachField(*stack);
    field->counters(stack->cellIndex(0, 0, 2))[6] = 12;
    field->counters(stack->cellIndex(0, 0, 1))[0] = 5; // towards the oxide: absorbed there
    field->counters(stack->cellIndex(0, 0, 0))[6] = 6;
    dopeByRandomWalk(*stack, micronCells(0.0, 1, 0, 100), kSeed);
    EXPECT_EQ(countAt(*stack, 0, 0, 2), 0u);
    EXPECT_EQ(countAt(*stack, 0, 0, 0), 6u);
    EXPECT_EQ(totalCount(*stack), 6u);
}

TEST(RandomWalkDoping, ACellIsDopedWhenTheParticlesItGatheredExceedTheThreshold)
{
    for (double threshold : {49.0, 50.0}) {
        auto column = volumeOf(1, 1, 4, [](uint32_t, uint32_t, uint32_t z) { return z < 3 ? kSilicon : 0u; });
        dopeByRandomWalk(*column, micronCells(1.0, 1, 50, threshold), kSeed);
        // Every particle of the surface cell left it in the scatter; it still held 50 this step.
        EXPECT_EQ(materialAt(*column, 0, 0, 2), threshold < 50 ? kNDoped : kSilicon) << threshold;
        EXPECT_EQ(materialAt(*column, 0, 0, 1), kSilicon);
    }
}

// The reference simulation of a silicon column: a = 0.1 µm, D = 1e-14 m²/s, p = 0.5 (Δt = 1/12 s),
// 100 s, Cs = 1e26 m⁻³ (1e5 particles per cell), Ct = Cs / 10. The surface cell is held at Cs, so
// the profile is Cs·erfc(x / (2√(Dt))) with x the distance from that cell's centre; √(Dt) is ten
// cells, and erfc(x / 20 cells) = 0.1 at x = 23.3 cells: 24 cells are doped.
TEST(RandomWalkDoping, AColumnFollowsTheErfcProfileOfConstantSurfaceConcentration)
{
    constexpr uint32_t kDepth = 120;
    RandomWalkDopingParameters p;
    p.cellSize = 1e-7;
    p.diffusionCoefficient = 1e-14;
    p.timeStep = 0.5 * p.cellSize * p.cellSize / (6.0 * p.diffusionCoefficient);
    p.dopingTime = 100.0;
    p.surfaceConcentration = 1e26;
    p.threshold = 1e25;
    p.dopedMaterial = kNDoped;
    ASSERT_TRUE(p.problem().isEmpty());
    for (uint32_t seed : {1u, kSeed}) {
        auto column = volumeOf(1, 1, kDepth + 1, [](uint32_t, uint32_t, uint32_t z) {
            return z < kDepth ? kSilicon : 0u;
        });
        dopeByRandomWalk(*column, p, seed);
        EXPECT_EQ(countInColumn(*column, 0, 0, kNDoped), 24u) << seed;
        const double surface = 1e5;
        const double diffusionLength = 2.0 * std::sqrt(p.diffusionCoefficient * p.dopingTime) / p.cellSize;
        for (uint32_t depth = 0; depth < 40; ++depth) {
            const double expected = surface * std::erfc(depth / diffusionLength);
            const double counted = countAt(*column, 0, 0, kDepth - 1 - depth);
            // 3 % of the profile down to a tenth of Cs, 3 % of a tenth of Cs below that.
            EXPECT_NEAR(counted, expected, 0.03 * std::max(expected, 0.1 * surface)) << depth << " seed " << seed;
        }
    }
}

TEST(RandomWalkDoping, EveryThreadCountGivesTheSameCellsAndCounts)
{
    for (uint32_t sizeX : {5u, 9u, 26u}) {
        const auto doped = CoreTest::sameForEveryThreadCount([sizeX] {
            auto volume = trench(sizeX);
            dopeByRandomWalk(*volume, micronCells(0.7, 12, 300, 20), kSeed);
            EXPECT_GT(totalCount(*volume), 0u);
            return std::make_pair(materialsOf(*volume), *volume->particleCountField(ParticleCountField::kTypeNName));
        }, std::to_string(sizeX) + " planes");
        EXPECT_NE(doped.first, materialsOf(*trench(sizeX)));
    }
}

TEST(RandomWalkDopingParameters, RefusesAnUnstableTimeStepAndNamesAStableOne)
{
    RandomWalkDopingParameters p;
    p.cellSize = 1e-7;
    p.diffusionCoefficient = 1e-14;
    p.surfaceConcentration = 1e26;
    p.timeStep = 0.1666;
    EXPECT_TRUE(p.problem().isEmpty()) << p.problem().toStdString();
    p.timeStep = 0.2;
    EXPECT_EQ(p.problem(), "The time step is too long for this diffusion coefficient and cell size: 6·D·Δt/a² is "
                           "1.2, and a particle cannot leave its cell with a probability above 1. A time step of at "
                           "most 0.166666 s is stable.");
    p.timeStep = p.longestStableTimeStep();
    EXPECT_LE(p.hopProbability(), 1.0f);
    p.cellSize = 0.0;
    EXPECT_EQ(p.problem(), "The cell size must be greater than 0, not 0.");
    p.cellSize = 1e-4; // 1e14 particles in a 100 µm cell
    EXPECT_TRUE(p.problem().startsWith("The surface concentration puts 1e+14 particles in a cell"));
}

TEST(RandomWalkDopingOperation, RefusesAnUnstableStepAndUndoesTheFieldWithTheCells)
{
    CoreTest::LoggedModel scene;
    auto &model = scene.model;
    auto volume = volumeOf(1, 1, 4, [](uint32_t, uint32_t, uint32_t z) { return z < 3 ? kSilicon : 0u; });
    model.scene().addObject(volume);
    const auto run = [&](const RandomWalkDopingParameters &p) {
        CoreTest::startStep<RandomWalkDopingOperation>(model, [p](RandomWalkDopingOperation &op) {
            op.setDiffusionCoefficient(p.diffusionCoefficient); op.setCellSize(p.cellSize);
            op.setTimeStepDuration(p.timeStep); op.setSurfaceConcentration(p.surfaceConcentration);
            op.setDopingTime(p.dopingTime); op.setDopingThreshold(p.threshold);
            op.setDopedMaterial(p.dopedMaterial); op.setSeed(kSeed);
        });
    };
    run(micronCells(1.5, 2, 50, 10));
    EXPECT_TRUE(QString::fromStdString(scene.log->last())
                    .startsWith("Random Walk Doping: The time step is too long for this diffusion coefficient"));
    EXPECT_TRUE(volume->particleCountFieldNames().isEmpty());
    run(micronCells(0.5, 4, 50, 10));
    EXPECT_EQ(scene.log->last(), "Random Walk Doping: Operation finished.");
    EXPECT_EQ(countAt(*volume, 0, 0, 2), 50u);
    const ParticleCountField after = *volume->particleCountField(ParticleCountField::kTypeNName);
    ASSERT_TRUE(model.undoRedo().undo());
    EXPECT_TRUE(volume->particleCountFieldNames().isEmpty());
    ASSERT_TRUE(model.undoRedo().redo());
    ASSERT_NE(volume->particleCountField(ParticleCountField::kTypeNName), nullptr);
    EXPECT_TRUE(*volume->particleCountField(ParticleCountField::kTypeNName) == after);
}
