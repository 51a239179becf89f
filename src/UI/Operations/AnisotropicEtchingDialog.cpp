#include "AnisotropicEtchingDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/AnisotropicFilmDeposition/AnisotropicFilmEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_AnisotropicEtchingDialog.h"

namespace Ui {
namespace Operations {

using Core::Operations::AnisotropicFilmEtchingOperation;
namespace Parameters = Engine::Parameters;

AnisotropicEtchingDialog::AnisotropicEtchingDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<AnisotropicEtchingBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindLength(Parameters::kEtchDepth, ui->dbxDepth);
    bindLength(Parameters::kHorizontalToVerticalRatio, ui->dbxHorizontalRatio);
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial,
                 materialsOfProcess(AnisotropicFilmEtchingOperation::kAnisotropicEtchingProcess));
}

AnisotropicEtchingDialog::~AnisotropicEtchingDialog() = default;

float AnisotropicEtchingDialog::depth() const
{
    return float(ui->dbxDepth->value());
}

float AnisotropicEtchingDialog::horizontalRatio() const
{
    return float(ui->dbxHorizontalRatio->value());
}

uint32_t AnisotropicEtchingDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void AnisotropicEtchingDialog::applyTo(AnisotropicFilmEtchingOperation &operation) const
{
    operation.setDepth(depth());
    operation.setHorizontalRatio(horizontalRatio());
    operation.setMaterial(materialId());
}

} // namespace Operations
} // namespace Ui
