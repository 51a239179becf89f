#include "ExtractFilm.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/FilmExtraction/FilmExtraction.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <algorithm>

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;

ExtractFilm::ExtractFilm(ApplicationModel *model) : ObjectOperation(model, "Extract Film", ExtractFilmId) {}

void ExtractFilm::execute()
{
    if (selectionStep != kNoVolume)
        return;
    for (const auto &object : model->selectionMode().selectedObjects()) {
        if (auto chosen = std::dynamic_pointer_cast<TotalVolume>(object)) {
            volume = chosen;
            postMessage("cell volume selected.");
            model->selectionMode().setSelectionMode(false);
            model->selectionMode().clearSelection();
            model->notifyUpdateObservers();
            selectionStep = kVolumeChosen;
            askForOptions();
            finish();
            return;
        }
    }
    postMessage("select a cell volume and press Enter/Return.");
    model->inputRequest().requestEnter(this);
    model->selectionMode().setSelectionMode(true);
}

void ExtractFilm::setMaterial(uint32_t id)
{
    materialId = id;
    optionsGiven = true;
}

void ExtractFilm::setInvert(bool on)
{
    invert = on;
    optionsGiven = true;
}

void ExtractFilm::finish()
{
    if (selectionStep != kVolumeChosen)
        return;
    if (!optionsGiven) { // the dialog was declined
        cancel();
        return;
    }
    if (materialId == Model::Materials::kEmptyMaterial) {
        postMessage("empty space is not a film; choose a material to extract.");
        cancel();
        return;
    }
    selectionStep = kExtracted;
    extracted = extractFilm(*volume, materialId, invert);
    const float largestCell = std::max({volume->cellSizeX(), volume->cellSizeY(), volume->cellSizeZ()});
    extracted->move(Util::Vector3D(double(volume->sizeX() + kGapCells) * largestCell, 0, 0));
    model->scene().addObject(extracted);
    model->notifyUpdateObservers();
    postMessage("film extracted.");
    model->operationFinished();
}

void ExtractFilm::cancel()
{
    if (selectionStep == kExtracted)
        return; // done; it lives on the undo stack
    cancelWithMessage();
}

bool ExtractFilm::undo()
{
    model->scene().removeObject(extracted);
    model->notifyUpdateObservers();
    return true;
}

bool ExtractFilm::redo()
{
    model->scene().addObject(extracted);
    model->notifyUpdateObservers();
    return true;
}

} // namespace Operations
} // namespace Core
