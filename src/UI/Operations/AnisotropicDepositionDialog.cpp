#include "AnisotropicDepositionDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmDepositionOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_AnisotropicDepositionDialog.h"

namespace Ui {
namespace Operations {

using Core::Operations::AnisotropicFilmDepositionOperation;
namespace Parameters = Engine::Parameters;

AnisotropicDepositionDialog::AnisotropicDepositionDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<AnisotropicDepositionBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindLength(Parameters::kFilmThickness, ui->dbxThickness);
    bindLength(Parameters::kHorizontalToVerticalRatio, ui->dbxHorizontalRatio);
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial,
                 materialsOfProcess(AnisotropicFilmDepositionOperation::kAnisotropicDepositionProcess));
}

AnisotropicDepositionDialog::~AnisotropicDepositionDialog() = default;

float AnisotropicDepositionDialog::thickness() const
{
    return float(ui->dbxThickness->value());
}

float AnisotropicDepositionDialog::horizontalRatio() const
{
    return float(ui->dbxHorizontalRatio->value());
}

uint32_t AnisotropicDepositionDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void AnisotropicDepositionDialog::applyTo(AnisotropicFilmDepositionOperation &operation) const
{
    operation.setThickness(thickness());
    operation.setHorizontalRatio(horizontalRatio());
    operation.setMaterial(materialId());
}

} // namespace Operations
} // namespace Ui
