#pragma once

#include "Core/Operations/ObjectOperation.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {

// "Extract Film": copies one connected piece of a film out of the selected cell volume into a new
// volume beside it (FilmExtraction). The source is left as it was; undo removes the new volume.
class ExtractFilm : public ObjectOperation {
public:
    enum Step : uint32_t { kNoVolume = 0, kVolumeChosen = 1, kExtracted = 2 };

    // The gap left along x between the source and the new volume, in cells of the largest length.
    static constexpr uint32_t kGapCells = 10;

    explicit ExtractFilm(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
    bool undo() override;
    bool redo() override;

    // The options; each setter marks them as given.
    void setMaterial(uint32_t id);
    void setInvert(bool on);

    Step step() const { return selectionStep; }
    std::shared_ptr<Model::Automaton::TotalVolume> extractedVolume() const { return extracted; }

private:
    Step selectionStep = kNoVolume;
    uint32_t materialId = 0;
    bool invert = false;
    bool optionsGiven = false;
    std::shared_ptr<Model::Automaton::TotalVolume> extracted;
};

} // namespace Operations
} // namespace Core
