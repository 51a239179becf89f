#include "IsotropicEtchingDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_IsotropicEtchingDialog.h"

namespace Ui {
namespace Operations {

using Core::Operations::IsotropicFilmEtchingOperation;
namespace Parameters = Engine::Parameters;

IsotropicEtchingDialog::IsotropicEtchingDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<IsotropicEtchingBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindLength(Parameters::kDepth, ui->dblDepth);
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial,
                 materialsOfProcess(IsotropicFilmEtchingOperation::kEtchingProcess));
}

IsotropicEtchingDialog::~IsotropicEtchingDialog() = default;

float IsotropicEtchingDialog::depth() const
{
    return float(ui->dblDepth->value());
}

uint32_t IsotropicEtchingDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void IsotropicEtchingDialog::applyTo(IsotropicFilmEtchingOperation &operation) const
{
    operation.setDepth(depth());
    operation.setMaterial(materialId());
}

} // namespace Operations
} // namespace Ui
