#include "SpinCoatingOptionsDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/Planarization/SpinCoatingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_SpinCoatingOptionsDialog.h"

namespace Ui {
namespace Operations {

using Core::Operations::SpinCoatingOperation;
namespace Parameters = Engine::Parameters;

SpinCoatingOptionsDialog::SpinCoatingOptionsDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<SpinCoatingOptionsBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindCount(Parameters::kMaximumHeight, ui->sbxHeight);
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial, allMaterials());
}

SpinCoatingOptionsDialog::~SpinCoatingOptionsDialog() = default;

uint32_t SpinCoatingOptionsDialog::height() const
{
    return uint32_t(ui->sbxHeight->value());
}

uint32_t SpinCoatingOptionsDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void SpinCoatingOptionsDialog::applyTo(SpinCoatingOperation &operation) const
{
    operation.setHeight(height());
    operation.setMaterial(materialId());
}

} // namespace Operations
} // namespace Ui
