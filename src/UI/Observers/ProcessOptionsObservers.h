#pragma once

// The options observers of the process steps, one line each: the step's dialog and the
// operation it fills.

#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtchingOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDepositionOperation.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtchingOperation.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDepositionOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtchingOperation.h"
#include "Core/Operations/Planarization/PlanarizationOperation.h"
#include "Core/Operations/Planarization/SpinCoatingOperation.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidationOperation.h"
#include "Core/Operations/SiWetEtching/ContinousWetEtchOperation.h"
#include "UI/Observers/ProcessOptionsObserver.h"
#include "UI/Operations/AnisotropicDepositionDialog.h"
#include "UI/Operations/AnisotropicEtchingDialog.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "UI/Operations/ElectrodepositionDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/IsotropicEtchingDialog.h"
#include "UI/Operations/PVDOptionsDialog.h"
#include "UI/Operations/SimpleRIEDialog.h"
#include "UI/Operations/MooreOptionsDialog.h"
#include "UI/Operations/PlanarizationOptionsDialog.h"
#include "UI/Operations/SpinCoatingOptionsDialog.h"
#include "UI/Operations/PhotolithographyDialog.h"
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
using SimpleSiOxidationObserver =
    ProcessOptionsObserver<Operations::SiOxidationDialog, Core::Operations::SimpleSiOxidationOperation>;
using ContinuousWetEtchObserver =
    ProcessOptionsObserver<Operations::ContinuousWetEtchingDialog, Core::Operations::ContinousWetEtchOperation>;

} // namespace Observers
} // namespace Ui
