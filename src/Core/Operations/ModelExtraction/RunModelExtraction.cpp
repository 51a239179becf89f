#include "RunModelExtraction.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/ModelExtraction/BoxDecomposition.h"
#include "Model/ModelExtraction/CantileverModelRule.h"
#include "Model/ModelExtraction/ExtractedModel.h"
#include "Model/ModelExtraction/IStructure.h"
#include "Util/IObserver.h"

namespace Core {
namespace Operations {

namespace {
using Model::ModelExtraction::ExtractedModel;
// Cells of gap between the volume and the beams shown beside it.
constexpr uint32_t kBeamGapCells = 10;
} // namespace

RunModelExtraction::RunModelExtraction(ApplicationModel *model)
    : Operation(model, "Extract Model", ModelExtractionId)
{
}

RunModelExtraction::~RunModelExtraction() = default;

void RunModelExtraction::say(const std::string &text)
{
    model->inputRequest().postMessage("Model Extraction: " + text);
}

void RunModelExtraction::execute()
{
    if (current != Idle)
        return;
    for (const auto &object : model->selectionMode().selectedObjects()) {
        if (auto chosen = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object)) {
            volume = chosen;
            say("Cell volume selected.");
            current = VolumeChosen;
            askForOptions();
            model->selectionMode().clearSelection();
            model->selectionMode().setSelectionMode(false);
            model->notifyUpdateObservers();
            return;
        }
    }
    say("Select a cell volume and press Enter/Return.");
    model->inputRequest().requestEnter(this);
    model->selectionMode().setSelectionMode(true);
}

void RunModelExtraction::restoreScene()
{
    if (boxes)
        model->scene().removeObject(boxes);
    if (beams)
        model->scene().removeObject(beams);
    volume->painter().setHidden(false);
    model->notifyUpdateObservers();
}

void RunModelExtraction::finish()
{
    if (current != VolumeChosen)
        return;
    current = Ended;
    restoreScene();
    say("Model extracted.");
    model->operationFinished();
}

void RunModelExtraction::cancel()
{
    if (current == VolumeChosen) {
        current = Ended;
        if (closing)
            closing->update();
        restoreScene();
    } else if (current == Idle) {
        // Still waiting for a pick: stop picking.
        current = Ended;
        model->selectionMode().setSelectionMode(false);
    }
    model->inputRequest().resetRequest();
    if (model->currentOperation().get() == this)
        model->operationEnded();
}

void RunModelExtraction::runStepOne()
{
    if (current != VolumeChosen || boxes)
        return;
    volume->painter().setHidden(true);
    boxes = std::make_shared<ExtractedModel>(Model::ModelExtraction::decomposeIntoBoxes(*volume));
    model->scene().addObject(boxes);
    model->notifyUpdateObservers();
}

void RunModelExtraction::runStepTwo()
{
    if (current != VolumeChosen || !boxes || beams)
        return;
    Model::ModelExtraction::CantileverModelRule rule;
    structure = rule.apply(*boxes);
    if (!structure)
        return;
    beams = std::make_shared<ExtractedModel>(rule.beams());
    beams->move(Util::Vector4D(double(volume->cellSizeX()) * (volume->sizeX() + kBeamGapCells), 0.0, 0.0, 0.0));
    model->scene().addObject(beams);
    model->notifyUpdateObservers();
}

QString RunModelExtraction::netlist() const
{
    return structure ? structure->netlist() : QString();
}

} // namespace Operations
} // namespace Core
