#pragma once

#include <cstdint>

namespace Core {
namespace Operations {

// The numbers under which the operation factory creates operations. Menu actions are mapped
// to them; process lists use process type codes of their own.
enum OperationId : uint32_t {
    CopyId = 1,
    CreateSubstrateId = 2,
    IonImplantationId = 3,
    DeleteId = 4,
    ChangeVisualizationOptionsId = 6,
    MoveId = 7,
    ExtractFilmId = 8,
    SaveId = 9,
    SaveAsId = 10,
    OpenId = 11,
    GlueSubstrateId = 12,
    IsotropicDepositionId = 13,
    IsotropicEtchingId = 14,
    ElectroplatingId = 15,
    CutCellVolumeId = 16,
    DopingId = 17,
    MooreDepositionId = 18,
    MooreEtchingId = 19,
    PhotolithographyId = 20,
    PlanarizationId = 22,
    PourMaterialId = 23,
    BatchRunId = 24,
    SiOxidationId = 26,
    AnisotropicDepositionId = 27,
    SiWetEtchingId = 28,
    SiWetEtchingCcaId = 29,
    SimpleRieId = 30,
    PvdId = 31,
    AnisotropicEtchingId = 32,
    CvdId = 33,
    MaskedVolumeCutId = 34,
    RemoveMaskedCutsId = 35,
    RandomWalkDopingId = 36,
    ExportDataId = 37,
    ModelExtractionId = 1000,
};

// False for operations whose result a save would not write: the document files themselves,
// exports, view settings and cuts (they hide cells, the materials stay), and the batch run,
// whose steps count their own changes as they go.
inline bool altersDocument(uint32_t kind)
{
    switch (kind) {
    case SaveId:
    case SaveAsId:
    case OpenId:
    case BatchRunId:
    case ExportDataId:
    case ModelExtractionId:
    case ChangeVisualizationOptionsId:
    case CutCellVolumeId:
    case MaskedVolumeCutId:
    case RemoveMaskedCutsId:
        return false;
    default:
        return true;
    }
}

} // namespace Operations
} // namespace Core
