#include "OperationFactory.h"

#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Core/Operations/Document/SaveDocumentAsOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/ObjectOperations/CopyObject.h"
#include "Core/Operations/ObjectOperations/DeleteObject.h"
#include "Core/Operations/ObjectOperations/MoveObject.h"
#include "Core/Operations/ObjectOperations/SelectVolumesOperation.h"
#include "Core/Operations/OperationIds.h"
#include "MainWindow.h"
#include "MainWindowPresenter.h"
#include "Observers/BatchRunObserver.h"
#include "Observers/CreateSubstrateObserver.h"
#include "Observers/DocumentOpenedObserver.h"
#include "Observers/DocumentSavedObserver.h"
#include "Observers/ElectrodepositionObserver.h"
#include "Observers/IsotropicFilmDepositionObserver.h"
#include "Observers/IsotropicFilmEtchingObserver.h"
#include "Observers/MaterialConflictObserver.h"
#include "Model/Persistence/MaterialConflict.h"

namespace Ui {

std::shared_ptr<Core::Operations::Operation> OperationFactory::create(uint32_t id)
{
    using namespace Core::Operations;
    Core::ApplicationModel *model = &presenter->applicationModel();
    QWidget *window = presenter->window();

    // Each operation id gets its case here as its operation class arrives; every other id,
    // known or not, gives no operation, so starting it only cancels the running one.
    switch (id) {
    case CopyId:
        return std::make_shared<CopyObject>(model);
    case CreateSubstrateId: {
        auto op = std::make_shared<CreateSubstrateOperation>(model);
        op->setOptionsObserver(std::make_shared<Observers::CreateSubstrateObserver>(model, window));
        return op;
    }
    case DeleteId:
        return std::make_shared<DeleteObject>(model);
    case MoveId:
        return std::make_shared<MoveObject>(model);
    case SaveId:
    case SaveAsId: {
        auto op = id == SaveId ? std::make_shared<SaveDocumentOperation>(model)
                               : std::make_shared<SaveDocumentAsOperation>(model);
        op->setPathChooser(Observers::DocumentSavedObserver::saveDialog(window));
        op->setReporter(&Observers::DocumentSavedObserver::showFailure);
        op->setSavedObserver(std::make_shared<Observers::DocumentSavedObserver>(window, model));
        return op;
    }
    case OpenId: {
        Model::Persistence::MaterialConflict::instance().setObserver(
            std::make_shared<Observers::MaterialConflictObserver>(window));
        auto op = std::make_shared<OpenDocumentOperation>(model);
        op->setPathChooser(Observers::DocumentOpenedObserver::openDialog(window));
        op->setOpenedObserver(std::make_shared<Observers::DocumentOpenedObserver>());
        return op;
    }
    case IsotropicDepositionId:
    case CvdId: {
        auto op = id == CvdId ? std::make_shared<IsotropicFilmDepositionOperation>(
                                    model, "CVD", IsotropicFilmDepositionOperation::kCvdProcess)
                              : std::make_shared<IsotropicFilmDepositionOperation>(model);
        op->setOptionsObserver(std::make_shared<Observers::IsotropicFilmDepositionObserver>(op.get(), window));
        return op;
    }
    case IsotropicEtchingId: {
        auto op = std::make_shared<IsotropicFilmEtchingOperation>(model);
        op->setOptionsObserver(std::make_shared<Observers::IsotropicFilmEtchingObserver>(op.get(), window));
        return op;
    }
    case ElectroplatingId: {
        auto op = std::make_shared<ElectrodepositionOperation>(model);
        op->setOptionsObserver(std::make_shared<Observers::ElectrodepositionObserver>(op.get(), window));
        return op;
    }
    case BatchRunId: {
        auto op = std::make_shared<SelectVolumesOperation>(model);
        op->setOptionsObserver(std::make_shared<Observers::BatchRunObserver>(model, window));
        return op;
    }
    default:
        return nullptr;
    }
}

} // namespace Ui
