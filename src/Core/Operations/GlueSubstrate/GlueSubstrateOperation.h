#pragma once

#include "Core/Operations/GlueSubstrate/GlueLayout.h"
#include "Core/Operations/ObjectOperation.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {

// "Glue Volumes": the user picks a base and then a top cell volume; the options dialog chooses
// the final size, the top's displacement and whether it is inverted; the glued volume then
// takes the two volumes' place in the scene. Undo puts the two back.
class GlueSubstrateOperation : public ObjectOperation {
public:
    // Where the two-stage choice stands.
    enum Step : uint32_t { kNoneChosen = 0, kBaseChosen = 1, kBothChosen = 2, kGlued = 3 };

    explicit GlueSubstrateOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
    bool undo() override;
    bool redo() override;

    // The options, given once both volumes are chosen; each setter marks the options as given.
    void setFinalSize(uint32_t x, uint32_t y, uint32_t z);
    void setDisplacement(uint32_t dx, uint32_t dy);
    void setInvert(bool on);

    Step step() const { return selectionStep; }
    // The analysis of the two chosen volumes, which the dialog's limits come from.
    const GlueLayout &layout() const { return glueLayout; }
    const GlueSettings &settings() const { return chosen; }
    std::shared_ptr<Model::Automaton::TotalVolume> baseVolume() const { return base; }
    std::shared_ptr<Model::Automaton::TotalVolume> topVolume() const { return top; }
    std::shared_ptr<Model::Automaton::TotalVolume> gluedVolume() const { return glued; }

private:
    void chooseBase();
    void chooseTop();
    void takeTop(const std::shared_ptr<Model::Automaton::TotalVolume> &volume);
    // Waits for the user to pick and press Enter.
    void waitForPick();

    Step selectionStep = kNoneChosen;
    std::shared_ptr<Model::Automaton::TotalVolume> base;
    std::shared_ptr<Model::Automaton::TotalVolume> top;
    GlueLayout glueLayout;
    GlueSettings chosen;
    bool optionsGiven = false;
    std::shared_ptr<Model::Automaton::TotalVolume> glued;
};

} // namespace Operations
} // namespace Core
