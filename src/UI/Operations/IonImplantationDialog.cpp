#include "IonImplantationDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/Doping/IonImplantationOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_IonImplantationDialog.h"

namespace Ui {
namespace Operations {

namespace Parameters = Engine::Parameters;

IonImplantationDialog::IonImplantationDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<IonImplantationBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindSingleLength(Parameters::kImplantationDepth, ui->dblImplantationDepth);
    bindSingleLength(Parameters::kVerticalSpread, ui->dblVerticalSpread);
    bindSingleLength(Parameters::kAnnealingDistance, ui->dblAnnealingDistance);
    bindMaterial(Parameters::kDopedMaterial, ui->cbxDopedMaterial,
                 materialsOfProcess(Core::Operations::kIonImplantationProcess));
}

IonImplantationDialog::~IonImplantationDialog() = default;

float IonImplantationDialog::implantationDepth() const
{
    return float(ui->dblImplantationDepth->value());
}

float IonImplantationDialog::verticalSpread() const
{
    return float(ui->dblVerticalSpread->value());
}

float IonImplantationDialog::annealingDistance() const
{
    return float(ui->dblAnnealingDistance->value());
}

uint32_t IonImplantationDialog::dopedMaterialId() const
{
    return chosenMaterialId(ui->cbxDopedMaterial);
}

void IonImplantationDialog::applyTo(Core::Operations::IonImplantationOperation &operation) const
{
    operation.setImplantationDepth(implantationDepth());
    operation.setVerticalSpread(verticalSpread());
    operation.setAnnealingDistance(annealingDistance());
    operation.setDopedMaterial(dopedMaterialId());
}

} // namespace Operations
} // namespace Ui
