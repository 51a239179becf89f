#pragma once

// The options observers of the process steps, one line each: the step's dialog and the
// operation it fills.

#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "UI/Observers/ProcessOptionsObserver.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "UI/Operations/ElectrodepositionDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/IsotropicEtchingDialog.h"
#include "UI/Operations/PhotolithographyDialog.h"

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
// The dialog's mask buttons set the masks as they are pressed; acceptance sets the resist.
using PhotolithographyObserver =
    ProcessOptionsObserver<Operations::PhotolithographyDialog, Core::Operations::PhotolithographyOperation>;

} // namespace Observers
} // namespace Ui
