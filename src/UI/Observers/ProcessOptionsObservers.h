#pragma once

// The options observers of the process steps, one line each: the step's dialog and the
// operation it fills.

#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtchingOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtchingOperation.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/Cuts/CutCellVolumeOperation.h"
#include "Core/Operations/Cuts/MaskedCutCellVolumeOperation.h"
#include "Core/Operations/FilmExtraction/ExtractFilm.h"
#include "Core/Operations/GlueSubstrate/GlueSubstrateOperation.h"
#include "Core/Operations/Doping/DopingOperation.h"
#include "Core/Operations/Doping/IonImplantationOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDepositionOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtchingOperation.h"
#include "Core/Operations/Planarization/PlanarizationOperation.h"
#include "Core/Operations/Planarization/SpinCoatingOperation.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDopingOperation.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidationOperation.h"
#include "Core/Operations/SiWetEtching/ContinousWetEtchOperation.h"
#include "UI/Observers/ProcessOptionsObserver.h"
#include "UI/Operations/AnisotropicDepositionDialog.h"
#include "UI/Operations/AnisotropicEtchingDialog.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "UI/Operations/DopingDialog.h"
#include "UI/Operations/IonImplantationDialog.h"
#include "UI/Operations/ElectrodepositionDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/IsotropicEtchingDialog.h"
#include "UI/Operations/PVDOptionsDialog.h"
#include "UI/Operations/SimpleRIEDialog.h"
#include "UI/Operations/MooreOptionsDialog.h"
#include "UI/Operations/PlanarizationOptionsDialog.h"
#include "UI/Operations/SpinCoatingOptionsDialog.h"
#include "UI/Operations/PhotolithographyDialog.h"
#include "UI/Operations/CutCellVolumeDialog.h"
#include "UI/Operations/MaskedCutOptionsDialog.h"
#include "UI/Operations/ExtractFilmDialog.h"
#include "UI/Operations/GlueSubstrateDialog.h"
#include "UI/Operations/RandomWalkDopingDialog.h"
#include "UI/Operations/WetEtchingDialog.h"
#include "UI/Operations/SiOxidationDialog.h"
#include "UI/Operations/ContinuousWetEtchingDialog.h"

namespace Ui {
namespace Observers {

using CreateSubstrateObserver =
    ProcessOptionsObserver<Operations::CreateSubstrateDialog, Core::Operations::CreateSubstrateOperation>;
// Offers the materials of the operation's process: isotropic deposition's or CVD's.
using IsotropicFilmDepositionObserver =
    ProcessOptionsObserver<Operations::IsotropicDepositionDialog, Core::Operations::IsotropicFilmDepositionOperation>;
using IsotropicFilmEtchingObserver =
    ProcessOptionsObserver<Operations::IsotropicEtchingDialog, Core::Operations::IsotropicFilmEtchingOperation>;
using ElectrodepositionObserver =
    ProcessOptionsObserver<Operations::ElectrodepositionDialog, Core::Operations::ElectrodepositionOperation>;
using AnisotropicDepositionObserver = ProcessOptionsObserver<Operations::AnisotropicDepositionDialog,
                                                             Core::Operations::AnisotropicFilmDepositionOperation>;
using AnisotropicEtchingObserver =
    ProcessOptionsObserver<Operations::AnisotropicEtchingDialog, Core::Operations::AnisotropicFilmEtchingOperation>;
using PVDObserver =
    ProcessOptionsObserver<Operations::PVDOptionsDialog, Core::Operations::SimplePhysicalVaporDepositionOperation>;
using SimpleRIEObserver =
    ProcessOptionsObserver<Operations::SimpleRIEDialog, Core::Operations::SimpleReactiveIonEtchingOperation>;
// The Moore steps share a dialog, which labels its layer box after the operation.
using MooreDepositionObserver =
    ProcessOptionsObserver<Operations::MooreOptionsDialog, Core::Operations::MooreNeighborhoodDepositionOperation>;
using MooreEtchingObserver =
    ProcessOptionsObserver<Operations::MooreOptionsDialog, Core::Operations::MooreNeighborhoodEtchingOperation>;
// Fits its height boxes to the chosen volume.
using PlanarizationObserver =
    ProcessOptionsObserver<Operations::PlanarizationOptionsDialog, Core::Operations::PlanarizationOperation>;
using SpinCoatingObserver =
    ProcessOptionsObserver<Operations::SpinCoatingOptionsDialog, Core::Operations::SpinCoatingOperation>;
// The dialog's mask buttons set the masks as they are pressed; acceptance sets the resist.
using PhotolithographyObserver =
    ProcessOptionsObserver<Operations::PhotolithographyDialog, Core::Operations::PhotolithographyOperation>;
// The dialog previews through the operation; acceptance sets the limits with a rebuild.
using CutCellVolumeObserver =
    ProcessOptionsObserver<Operations::CutCellVolumeDialog, Core::Operations::CutCellVolumeOperation>;
// Apply and Remove show the mask on the volume; acceptance hands the mask to the cut.
using MaskedCutObserver =
    ProcessOptionsObserver<Operations::MaskedCutOptionsDialog, Core::Operations::MaskedCutCellVolumeOperation>;
// Fits its size and displacement boxes to the two chosen volumes.
using GlueSubstrateObserver =
    ProcessOptionsObserver<Operations::GlueSubstrateDialog, Core::Operations::GlueSubstrateOperation>;
using ExtractFilmObserver = ProcessOptionsObserver<Operations::ExtractFilmDialog, Core::Operations::ExtractFilm>;
using DopingOptionsObserver = ProcessOptionsObserver<Operations::DopingDialog, Core::Operations::DopingOperation>;
using IonImplantationOptionsObserver =
    ProcessOptionsObserver<Operations::IonImplantationDialog, Core::Operations::IonImplantationOperation>;
using RandomWalkDopingObserver =
    ProcessOptionsObserver<Operations::RandomWalkDopingDialog, Core::Operations::RandomWalkDopingOperation>;
using AtomicSiBCAEtchObserver =
    ProcessOptionsObserver<Operations::WetEtchingDialog, Core::Operations::AtomisticSiWetEtchingOperation>;
using SimpleSiOxidationObserver =
    ProcessOptionsObserver<Operations::SiOxidationDialog, Core::Operations::SimpleSiOxidationOperation>;
using ContinuousWetEtchObserver =
    ProcessOptionsObserver<Operations::ContinuousWetEtchingDialog, Core::Operations::ContinousWetEtchOperation>;

} // namespace Observers
} // namespace Ui
