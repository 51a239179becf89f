#include "IsotropicDepositionDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_IsotropicDepositionDialog.h"

namespace Ui {
namespace Operations {

using Core::Operations::IsotropicFilmDepositionOperation;
namespace Parameters = Engine::Parameters;

IsotropicDepositionDialog::IsotropicDepositionDialog(QWidget *parent)
    : ProcessOptionsDialog(parent),
      ui(std::make_unique<IsotropicDepositionBaseDialog>()),
      thicknessName(Parameters::kFilmThickness)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindLength(thicknessName, ui->dblThickness);
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial,
                 materialsOfProcess(IsotropicFilmDepositionOperation::kIsotropicDepositionProcess));
}

IsotropicDepositionDialog::~IsotropicDepositionDialog() = default;

void IsotropicDepositionDialog::offerMaterialsOf(uint32_t processId)
{
    fillMaterialChooser(ui->cbxMaterial, materialsOfProcess(processId));
}

void IsotropicDepositionDialog::setThicknessParameter(const QString &name)
{
    renameParameter(thicknessName, name);
    thicknessName = name;
}

float IsotropicDepositionDialog::thickness() const
{
    return float(ui->dblThickness->value());
}

uint32_t IsotropicDepositionDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void IsotropicDepositionDialog::offerChoicesFor(const IsotropicFilmDepositionOperation &operation)
{
    offerMaterialsOf(operation.processId());
}

void IsotropicDepositionDialog::applyTo(IsotropicFilmDepositionOperation &operation) const
{
    operation.setThickness(thickness());
    operation.setMaterial(materialId());
}

} // namespace Operations
} // namespace Ui
