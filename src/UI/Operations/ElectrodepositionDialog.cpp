#include "ElectrodepositionDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_ElectrodepositionDialog.h"

namespace Ui {
namespace Operations {

namespace Parameters = Engine::Parameters;

ElectrodepositionDialog::ElectrodepositionDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<ElectroplatingBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    const auto materials = allMaterials();
    bindLength(Parameters::kFilmThickness, ui->dblThickness);
    bindMaterial(Parameters::kDepositedMaterial, ui->cbxMaterial, materials);
    bindMaterial(Parameters::kConductingMaterial, ui->cbxConductingMaterial, materials);
}

ElectrodepositionDialog::~ElectrodepositionDialog() = default;

float ElectrodepositionDialog::thickness() const
{
    return float(ui->dblThickness->value());
}

uint32_t ElectrodepositionDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

uint32_t ElectrodepositionDialog::conductingMaterialId() const
{
    return chosenMaterialId(ui->cbxConductingMaterial);
}

void ElectrodepositionDialog::applyTo(Core::Operations::ElectrodepositionOperation &operation) const
{
    operation.setThickness(thickness());
    operation.setDepositedMaterial(materialId());
    operation.setConductingMaterial(conductingMaterialId());
}

} // namespace Operations
} // namespace Ui
