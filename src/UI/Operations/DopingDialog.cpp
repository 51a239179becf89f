#include "DopingDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/Doping/DopingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_DopingDialog.h"

namespace Ui {
namespace Operations {

namespace Parameters = Engine::Parameters;

DopingDialog::DopingDialog(QWidget *parent) : ProcessOptionsDialog(parent), ui(std::make_unique<DopingBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindSingleLength(Parameters::kDopingDepth, ui->dblDopingDepth);
    bindMaterial(Parameters::kDopedMaterial, ui->cbxDopedMaterial,
                 materialsOfProcess(Core::Operations::kSimpleDopingProcess));
}

DopingDialog::~DopingDialog() = default;

float DopingDialog::dopingDepth() const
{
    return float(ui->dblDopingDepth->value());
}

uint32_t DopingDialog::dopedMaterialId() const
{
    return chosenMaterialId(ui->cbxDopedMaterial);
}

void DopingDialog::applyTo(Core::Operations::DopingOperation &operation) const
{
    operation.setDopingDepth(dopingDepth());
    operation.setDopedMaterial(dopedMaterialId());
}

} // namespace Operations
} // namespace Ui
