#include "RandomWalkDoping.h"

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Process/ProcessFactory.h"
#include "Util/SlabRunner.h"

#include <QDebug>
#include <algorithm>
#include <cmath>
#include <ctime>

namespace Core {
namespace Operations {

namespace {

using Model::Automaton::Cell;
using Model::Automaton::ParticleCountField;

constexpr uint32_t kSlots = ParticleCountField::kSlotsPerCell;
constexpr uint32_t kStay = ParticleCountField::kStaySlot;
// Up to this many particles a cell draws each particle's move; above it, it splits its count.
constexpr uint32_t kLargestCountDrawnOneByOne = 40;
// The split of the moving particles: a third move along z, the rest along y or x.
constexpr float kShareAlongZ = 0.33333334f;
constexpr float kHalf = 0.5f;
constexpr double kLargestDraw = 4294967295.0;    // 2³² − 1
constexpr float kInverseDrawRange = 2.3283064e-10f; // 2⁻³²
constexpr float kTwoPi = 6.2831853f;

} // namespace

RandomWalkDoping::RandomWalkDoping(Model::Automaton::TotalVolume &volume, const RandomWalkDopingParameters &parameters,
                                   uint32_t seed)
    : volume(volume),
      dopedMaterial(parameters.dopedMaterial),
      timeStep(float(parameters.timeStep)),
      stay(1.0f - parameters.hopProbability()),
      hop((1.0f - stay) / 6.0f),
      surfaceCount(uint32_t(std::max<int64_t>(0, parameters.surfaceParticles()))),
      thresholdCount(parameters.thresholdParticles()),
      dopable(Model::Process::ProcessFactory::instance()->process(kDopingProcess).compatibleMaterials()),
      planeRandom(volume.sizeX())
{
    for (uint32_t x = 0; x < volume.sizeX(); ++x)
        planeRandom[x].engine.seed(seed + x);
}

uint32_t RandomWalkDoping::timeSeed()
{
    return uint32_t(std::time(nullptr));
}

bool RandomWalkDoping::isDopable(uint32_t material) const
{
    return std::find(dopable.begin(), dopable.end(), material) != dopable.end();
}

void RandomWalkDoping::dope(float time)
{
    const float ratio = time / timeStep;
    const int64_t steps = ratio >= 1.0f ? int64_t(std::min(ratio, 9.0e18f)) : 0;
    qDebug() << __FILE__ << Q_FUNC_INFO << "Steps to run: " << steps;

    const Model::Automaton::CellLock lock(volume);
    const QString name = ParticleCountField::nameFor(dopedMaterial);
    field = volume.particleCountField(name);
    fieldIsNew = !field;
    if (fieldIsNew) {
        field = std::make_shared<ParticleCountField>(volume.cellCount());
        volume.setParticleCountField(name, field);
    }
    if (steps == 0)
        return;

    Cell *cells = lock.cells();
    roles.assign(volume.cellCount(), Fixed);
    const auto slabs = Util::splitRemainderOverFirstSlabs(volume.sizeX(), Util::slabThreadCount());
    auto eachPlane = [&slabs](auto &&pass) {
        Util::runSlabs(slabs, [&pass](size_t, const Util::Slab &slab) {
            for (uint32_t x = slab.begin; x < slab.end; ++x)
                pass(x);
        });
    };
    initialize(cells, fieldIsNew);
    for (int64_t step = 0; step < steps; ++step) {
        eachPlane([this](uint32_t x) { gather(x); });
        eachPlane([this, cells](uint32_t x) { scatter(cells, x); });
    }
    eachPlane([this, cells](uint32_t x) { finish(cells, x); });
}

// Dopable cells walk; every other cell is fixed with no particles. A walking cell beside an
// empty cell inside the volume is a source, held at the surface count (unless that is 0).
void RandomWalkDoping::initialize(Cell *cells, bool newField)
{
    const uint32_t sx = volume.sizeX(), sy = volume.sizeY(), sz = volume.sizeZ();
    auto isEmpty = [&](uint32_t x, uint32_t y, uint32_t z) { return cells[volume.cellIndex(x, y, z)].material() == 0; };
    for (uint32_t x = 0; x < sx; ++x) {
        for (uint32_t y = 0; y < sy; ++y) {
            for (uint32_t z = 0; z < sz; ++z) {
                const uint32_t i = volume.cellIndex(x, y, z);
                uint32_t *cellSlots = field->counters(i);
                if (!isDopable(cells[i].material())) {
                    cells[i].setFixed(true);
                    std::fill(cellSlots, cellSlots + kSlots, 0u);
                    roles[i] = Fixed;
                    continue;
                }
                cells[i].setFixed(false);
                if (newField)
                    std::fill(cellSlots, cellSlots + kSlots, 0u);
                const bool besideEmpty = (z > 0 && isEmpty(x, y, z - 1)) || (z + 1 < sz && isEmpty(x, y, z + 1))
                                         || (y > 0 && isEmpty(x, y - 1, z)) || (y + 1 < sy && isEmpty(x, y + 1, z))
                                         || (x > 0 && isEmpty(x - 1, y, z)) || (x + 1 < sx && isEmpty(x + 1, y, z));
                roles[i] = besideEmpty && surfaceCount != 0 ? Source : Walker;
            }
        }
    }
}

// Each walking cell adds what its neighbours sent it to what stayed: slot k of the neighbour at
// offset o_k holds the particles that neighbour sends this way. Only slot 6 of the cell itself
// is written, so the planes can gather side by side.
void RandomWalkDoping::gather(uint32_t x)
{
    const uint32_t sx = volume.sizeX(), sy = volume.sizeY(), sz = volume.sizeZ();
    const uint32_t below = x == 0 ? sx - 1 : x - 1;
    const uint32_t above = x + 1 == sx ? 0 : x + 1;
    uint32_t *f = field->data();
    for (uint32_t y = 0; y < sy; ++y) {
        const uint32_t yBelow = y == 0 ? sy - 1 : y - 1;
        const uint32_t yAbove = y + 1 == sy ? 0 : y + 1;
        const uint32_t row = volume.cellIndex(x, y, 0);
        const uint32_t rowYBelow = volume.cellIndex(x, yBelow, 0);
        const uint32_t rowYAbove = volume.cellIndex(x, yAbove, 0);
        const uint32_t rowXBelow = volume.cellIndex(below, y, 0);
        const uint32_t rowXAbove = volume.cellIndex(above, y, 0);
        for (uint32_t z = 0; z < sz; ++z) {
            const uint32_t i = row + z;
            const uint8_t role = roles[i];
            if (role == Fixed)
                continue;
            uint32_t *cellSlots = f + size_t(i) * kSlots;
            if (role == Source) {
                cellSlots[kStay] = surfaceCount;
                continue;
            }
            uint32_t sum = cellSlots[kStay];
            if (z > 0)
                sum += f[size_t(i - 1) * kSlots + 0];
            if (z + 1 < sz)
                sum += f[size_t(i + 1) * kSlots + 1];
            sum += f[size_t(rowYBelow + z) * kSlots + 2];
            sum += f[size_t(rowYAbove + z) * kSlots + 3];
            sum += f[size_t(rowXBelow + z) * kSlots + 4];
            sum += f[size_t(rowXAbove + z) * kSlots + 5];
            cellSlots[kStay] = sum;
        }
    }
}

// Each walking cell sends its particles on, drawing from its plane's generator; a dopable cell
// that holds more than the threshold count this step becomes the doped material.
void RandomWalkDoping::scatter(Cell *cells, uint32_t x)
{
    const uint32_t first = volume.cellIndex(x, 0, 0);
    const uint32_t last = first + volume.sizeY() * volume.sizeZ();
    PlaneRandom &random = planeRandom[x];
    for (uint32_t i = first; i < last; ++i) {
        if (roles[i] == Fixed)
            continue;
        uint32_t *cellSlots = field->counters(i);
        const uint32_t particles = cellSlots[kStay];
        if (int64_t(particles) > thresholdCount && cells[i].material() != dopedMaterial)
            cells[i].setMaterial(dopedMaterial);
        if (particles <= kLargestCountDrawnOneByOne)
            scatterFew(cellSlots, particles, random);
        else
            scatterMany(cellSlots, particles, random);
    }
}

void RandomWalkDoping::scatterFew(uint32_t *cellSlots, uint32_t particles, PlaneRandom &random) const
{
    float bounds[kSlots - 1];
    for (uint32_t k = 0; k < kSlots - 1; ++k)
        bounds[k] = float(k + 1) * hop;
    uint32_t counts[kSlots] = {};
    for (uint32_t n = 0; n < particles; ++n) {
        const double u = double(random.engine()) / kLargestDraw;
        uint32_t slot = 0;
        while (slot < kSlots - 1 && !(u < double(bounds[slot])))
            ++slot;
        ++counts[slot];
    }
    std::copy(counts, counts + kSlots, cellSlots);
}

void RandomWalkDoping::scatterMany(uint32_t *cellSlots, uint32_t particles, PlaneRandom &random) const
{
    const uint32_t staying = split(particles, stay, random);
    const uint32_t moving = particles - staying;
    const uint32_t alongZ = split(moving, kShareAlongZ, random);
    const uint32_t across = moving - alongZ;
    const uint32_t alongY = split(across, kHalf, random);
    const uint32_t alongX = across - alongY;
    cellSlots[0] = split(alongZ, kHalf, random);
    cellSlots[1] = alongZ - cellSlots[0];
    cellSlots[2] = split(alongY, kHalf, random);
    cellSlots[3] = alongY - cellSlots[2];
    cellSlots[4] = split(alongX, kHalf, random);
    cellSlots[5] = alongX - cellSlots[4];
    cellSlots[kStay] = staying;
}

float RandomWalkDoping::normal(PlaneRandom &random)
{
    if (random.hasSpare) {
        random.hasSpare = false;
        return random.spareNormal;
    }
    auto uniform = [&random] {
        float u;
        do
            u = float(random.engine()) * kInverseDrawRange;
        while (u >= 1.0f);
        return u;
    };
    const float u1 = uniform();
    const float u2 = uniform();
    const float radius = std::sqrt(-2.0f * std::log(1.0f - u2));
    random.spareNormal = radius * std::sin(kTwoPi * u1);
    random.hasSpare = true;
    return radius * std::cos(kTwoPi * u1);
}

uint32_t RandomWalkDoping::split(uint32_t n, float r, PlaneRandom &random)
{
    const float mean = float(n) * r;
    const float deviation = std::sqrt((1.0f - r) * mean);
    float drawn;
    do
        drawn = std::floor(mean + deviation * normal(random) + 0.5f);
    while (drawn < 0.0f || drawn > float(n));
    // float(n) may round above n for counts beyond 2²⁴.
    return std::min(uint32_t(drawn), n);
}

void RandomWalkDoping::finish(Cell *cells, uint32_t x)
{
    const uint32_t first = volume.cellIndex(x, 0, 0);
    const uint32_t last = first + volume.sizeY() * volume.sizeZ();
    for (uint32_t i = first; i < last; ++i) {
        if (!isDopable(cells[i].material())) {
            uint32_t *cellSlots = field->counters(i);
            std::fill(cellSlots, cellSlots + kSlots, 0u);
        }
    }
}

void dopeByRandomWalk(Model::Automaton::TotalVolume &volume, const RandomWalkDopingParameters &parameters,
                      uint32_t seed)
{
    RandomWalkDoping walk(volume, parameters, seed);
    walk.dope(float(parameters.dopingTime));
}

} // namespace Operations
} // namespace Core
