#include "MooreOptionsDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodDepositionOperation.h"
#include "Core/Operations/MooreNeighborhood/MooreNeighborhoodEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_MooreOptionsDialog.h"

namespace Ui {
namespace Operations {

using namespace Core::Operations;
namespace Parameters = Engine::Parameters;

MooreOptionsDialog::MooreOptionsDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<MooreOptionsBaseDialog>()), layersName(Parameters::kThickness)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindCount(layersName, ui->sbxValue);
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial, allMaterials());
}

MooreOptionsDialog::~MooreOptionsDialog() = default;

void MooreOptionsDialog::showAs(const QString &label, const QString &parameterName)
{
    ui->lblValue->setText(label);
    renameParameter(layersName, parameterName);
    layersName = parameterName;
}

void MooreOptionsDialog::showAsDeposition()
{
    showAs(QStringLiteral("Film Thickness"), Parameters::kThickness);
}

void MooreOptionsDialog::showAsEtching()
{
    showAs(QStringLiteral("Etch Depth"), Parameters::kDepth);
}

uint32_t MooreOptionsDialog::layers() const
{
    return uint32_t(ui->sbxValue->value());
}

uint32_t MooreOptionsDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void MooreOptionsDialog::offerChoicesFor(const MooreNeighborhoodDepositionOperation &)
{
    showAsDeposition();
}

void MooreOptionsDialog::offerChoicesFor(const MooreNeighborhoodEtchingOperation &)
{
    showAsEtching();
}

void MooreOptionsDialog::applyTo(MooreNeighborhoodDepositionOperation &operation) const
{
    operation.setLayers(layers());
    operation.setMaterial(materialId());
}

void MooreOptionsDialog::applyTo(MooreNeighborhoodEtchingOperation &operation) const
{
    operation.setLayers(layers());
    operation.setMaterial(materialId());
}

} // namespace Operations
} // namespace Ui
