#pragma once

#include "Core/Operations/Operation.h"

#include <QString>
#include <memory>

namespace Model {
namespace ModelExtraction {
class ExtractedModel;
class IStructure;
}
}

namespace Core {
namespace Operations {

// Extracts the lumped mechanical model of the cantilevers of one cell volume, in three steps
// that its tool window runs in order: preprocessing (the volume, hidden, is shown as its linked
// boxes), feature detection (the beams found, shown beside the volume) and the netlist text.
// It is not undoable and changes no cell; finishing or cancelling takes the boxes and beams out
// of the scene and shows the volume again.
class RunModelExtraction : public Operation {
public:
    enum State { Idle = 0, VolumeChosen = 1, Ended = 2 };

    explicit RunModelExtraction(ApplicationModel *model);
    ~RunModelExtraction() override;

    // Takes the first selected cell volume and opens the tool window, or asks for a selection.
    void execute() override;
    // Ends the extraction (the tool window was closed).
    void finish() override;
    // Closes the tool window and ends without a result.
    void cancel() override;

    // The observer that closes the tool window when the operation is cancelled.
    void setClosingObserver(std::shared_ptr<Util::IObserver> observer) { closing = std::move(observer); }

    // Step 1: cut the chosen volume into linked boxes and show them instead of the volume.
    void runStepOne();
    // Step 2: find the cantilevers among the boxes and show them beside the volume.
    void runStepTwo();
    // Step 3: the netlist of the cantilevers found, empty when there are none.
    QString netlist() const;

    State state() const { return current; }
    std::shared_ptr<Model::ModelExtraction::ExtractedModel> boxModel() const { return boxes; }
    std::shared_ptr<Model::ModelExtraction::ExtractedModel> beamModel() const { return beams; }

private:
    // Console lines of this operation read "Model Extraction: ...".
    void say(const std::string &text);
    // Takes both extracted models out of the scene and shows the volume again.
    void restoreScene();

    State current = Idle;
    std::shared_ptr<Model::ModelExtraction::ExtractedModel> boxes;
    std::shared_ptr<Model::ModelExtraction::ExtractedModel> beams;
    std::shared_ptr<Model::ModelExtraction::IStructure> structure;
    std::shared_ptr<Util::IObserver> closing;
};

} // namespace Operations
} // namespace Core
