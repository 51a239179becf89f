#pragma once

#include "Core/Operations/RandomWalkDoping/RandomWalkDopingParameters.h"
#include "Core/Operations/SnapshotStepOperation.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace Model {
namespace Automaton {
class ParticleCountField;
}
}

namespace Core {
namespace Operations {

// "Random Walk Doping": dopant diffusion as a random walk of particle counts on a chosen cell
// volume (RandomWalkDoping). Undo and redo bring back the materials and the volume's particle
// count field as they were before and after the run.
class RandomWalkDopingOperation : public SnapshotStepOperation {
public:
    explicit RandomWalkDopingOperation(ApplicationModel *model);

    void finish() override;
    bool undo() override;
    bool redo() override;

    // SI units, as process lists store them.
    void setDiffusionCoefficient(double squareMetresPerSecond);
    void setCellSize(double metres);
    void setTimeStepDuration(double seconds);
    void setSurfaceConcentration(double perCubicMetre);
    void setDopingTime(double seconds);
    void setDopingThreshold(double perCubicMetre);
    void setDopedMaterial(uint32_t id);

    const RandomWalkDopingParameters &parameters() const { return values; }
    // The generator seed of the run; the calendar time unless a test fixes it.
    void setSeed(uint32_t value) { seed = value; }

private:
    enum Given : uint32_t {
        DiffusionGiven = 1,
        CellSizeGiven = 2,
        TimeStepGiven = 4,
        ConcentrationGiven = 8,
        TimeGiven = 16,
        ThresholdGiven = 32,
        MaterialGiven = 64,
        AllGiven = 127,
    };

    std::shared_ptr<Model::Automaton::ParticleCountField> copyOfField() const;
    void restoreField(const std::shared_ptr<Model::Automaton::ParticleCountField> &saved);

    RandomWalkDopingParameters values;
    uint32_t given = 0;
    uint32_t seed;
    QString fieldName;
    // Copies of the field before and after the run; null when the volume had none.
    std::shared_ptr<Model::Automaton::ParticleCountField> fieldBefore;
    std::shared_ptr<Model::Automaton::ParticleCountField> fieldAfter;
};

} // namespace Operations
} // namespace Core
