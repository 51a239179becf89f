#include "OperationFactory.h"

#include "Core/Operations/Cuts/RemoveCutsFromVolumeOperation.h"
#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Core/Operations/ExportData/ExportDataOperation.h"
#include "Core/Operations/Document/SaveDocumentAsOperation.h"
#include "Core/Operations/ObjectOperations/CopyObject.h"
#include "Core/Operations/ObjectOperations/DeleteObject.h"
#include "Core/Operations/ObjectOperations/MoveObject.h"
#include "Core/Operations/ObjectOperations/SelectVolumesOperation.h"
#include "Core/Operations/OperationIds.h"
#include "Core/Operations/Visualization/ChangeTotalVolumeVisualizationOptions.h"
#include "LastFolders.h"
#include "MainWindow.h"
#include "MainWindowPresenter.h"
#include "ModelExtraction/RunModelExtractionObserver.h"
#include "Model/Persistence/MaterialConflict.h"
#include "Observers/BatchRunObserver.h"
#include "Observers/ChangeTotalVolumeViewOptionsObserver.h"
#include "Observers/DocumentOpenedObserver.h"
#include "Observers/DocumentSavedObserver.h"
#include "Observers/ExportDataObserver.h"
#include "Observers/MaterialConflictObserver.h"
#include "Observers/ProcessOptionsObservers.h"

#include <map>

namespace Ui {

namespace {

using namespace Core::Operations;
using Core::ApplicationModel;
using OperationPointer = std::shared_ptr<Operation>;

// Makes the operation of one id, wired to its observers.
using Maker = OperationPointer (*)(ApplicationModel *model, QWidget *window);

// An operation that needs nothing from the user but the selection.
template <class Op>
OperationPointer plain(ApplicationModel *model, QWidget *)
{
    return std::make_shared<Op>(model);
}

template <class Observer>
OperationPointer withOptions(std::shared_ptr<typename Observer::OperationType> operation, ApplicationModel *model,
                             QWidget *window)
{
    operation->setOptionsObserver(std::make_shared<Observer>(model, window));
    return operation;
}

// A process step whose options observer shows its dialog (Observers::ProcessOptionsObserver).
template <class Observer>
OperationPointer processStep(ApplicationModel *model, QWidget *window)
{
    return withOptions<Observer>(std::make_shared<typename Observer::OperationType>(model), model, window);
}

OperationPointer cvd(ApplicationModel *model, QWidget *window)
{
    return withOptions<Observers::IsotropicFilmDepositionObserver>(
        std::make_shared<IsotropicFilmDepositionOperation>(model, "CVD", IsotropicFilmDepositionOperation::kCvdProcess),
        model, window);
}

// A file chooser that starts in the last folder of its kind and remembers the new one.
PathChooser inLastFolder(FileKind kind, PathChooser chooser)
{
    return [kind, chooser](const QString &) {
        const QString path = chooser(lastFolder(kind));
        rememberFolder(kind, path);
        return path;
    };
}

template <class Op>
OperationPointer saveDocument(ApplicationModel *model, QWidget *window)
{
    auto op = std::make_shared<Op>(model);
    op->setPathChooser(inLastFolder(FileKind::Documents, Observers::DocumentSavedObserver::saveDialog(window)));
    op->setReporter(&Observers::DocumentSavedObserver::showFailure);
    op->setSavedObserver(std::make_shared<Observers::DocumentSavedObserver>(window, model));
    return op;
}

OperationPointer openDocument(ApplicationModel *model, QWidget *window)
{
    Model::Persistence::MaterialConflict::instance().setObserver(
        std::make_shared<Observers::MaterialConflictObserver>(window));
    auto op = std::make_shared<OpenDocumentOperation>(model);
    op->setPathChooser(inLastFolder(FileKind::Documents, Observers::DocumentOpenedObserver::openDialog(window)));
    op->setOpenedObserver(std::make_shared<Observers::DocumentOpenedObserver>());
    return op;
}

OperationPointer batchRun(ApplicationModel *model, QWidget *window)
{
    auto op = std::make_shared<SelectVolumesOperation>(model);
    op->setOptionsObserver(std::make_shared<Observers::BatchRunObserver>(model, window));
    return op;
}

OperationPointer changeVisualization(ApplicationModel *model, QWidget *window)
{
    auto op = std::make_shared<ChangeTotalVolumeVisualizationOptions>(model);
    op->setOptionsObserver(std::make_shared<Observers::ChangeTotalVolumeViewOptionsObserver>(model, window));
    return op;
}

OperationPointer exportData(ApplicationModel *model, QWidget *window)
{
    auto op = std::make_shared<ExportDataOperation>(model);
    op->setOptionsObserver(std::make_shared<Observers::ExportDataObserver>(model, window));
    return op;
}

// One entry per operation id that has its operation; a new process step adds its line here.
// Every other id, known or not, gives no operation, so starting it only cancels the running one.
const std::map<uint32_t, Maker> &makers()
{
    static const std::map<uint32_t, Maker> table = {
        {CopyId, &plain<CopyObject>},
        {CreateSubstrateId, &processStep<Observers::CreateSubstrateObserver>},
        {DeleteId, &plain<DeleteObject>},
        {MoveId, &plain<MoveObject>},
        {SaveId, &saveDocument<SaveDocumentOperation>},
        {SaveAsId, &saveDocument<SaveDocumentAsOperation>},
        {OpenId, &openDocument},
        {IsotropicDepositionId, &processStep<Observers::IsotropicFilmDepositionObserver>},
        {IsotropicEtchingId, &processStep<Observers::IsotropicFilmEtchingObserver>},
        {ElectroplatingId, &processStep<Observers::ElectrodepositionObserver>},
        {MooreDepositionId, &processStep<Observers::MooreDepositionObserver>},
        {MooreEtchingId, &processStep<Observers::MooreEtchingObserver>},
        {PlanarizationId, &processStep<Observers::PlanarizationObserver>},
        {PourMaterialId, &processStep<Observers::SpinCoatingObserver>},
        {PhotolithographyId, &processStep<Observers::PhotolithographyObserver>},
        {SiWetEtchingId, &processStep<Observers::AtomicSiBCAEtchObserver>},
        {BatchRunId, &batchRun},
        {CvdId, &cvd},
        {AnisotropicDepositionId, &processStep<Observers::AnisotropicDepositionObserver>},
        {AnisotropicEtchingId, &processStep<Observers::AnisotropicEtchingObserver>},
        {PvdId, &processStep<Observers::PVDObserver>},
        {SimpleRieId, &processStep<Observers::SimpleRIEObserver>},
        {CutCellVolumeId, &processStep<Observers::CutCellVolumeObserver>},
        {MaskedVolumeCutId, &processStep<Observers::MaskedCutObserver>},
        {RemoveMaskedCutsId, &plain<RemoveCutsFromVolumeOperation>},
        {ModelExtractionId, &Observers::makeModelExtraction},
        {GlueSubstrateId, &processStep<Observers::GlueSubstrateObserver>},
        {ExtractFilmId, &processStep<Observers::ExtractFilmObserver>},
        {DopingId, &processStep<Observers::DopingOptionsObserver>},
        {IonImplantationId, &processStep<Observers::IonImplantationOptionsObserver>},
        {RandomWalkDopingId, &processStep<Observers::RandomWalkDopingObserver>},
        {ExportDataId, &exportData},
        {SiOxidationId, &processStep<Observers::SimpleSiOxidationObserver>},
        {SiWetEtchingCcaId, &processStep<Observers::ContinuousWetEtchObserver>},
        {ChangeVisualizationOptionsId, &changeVisualization},
    };
    return table;
}

} // namespace

bool OperationFactory::makes(uint32_t id)
{
    return makers().count(id) != 0;
}

std::shared_ptr<Core::Operations::Operation> OperationFactory::create(uint32_t id)
{
    const auto entry = makers().find(id);
    if (entry == makers().end())
        return nullptr;
    return entry->second(&presenter->applicationModel(), presenter->window());
}

} // namespace Ui
