#include "PVDOptionsDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDepositionOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_PVDOptionsDialog.h"

namespace Ui {
namespace Operations {

using Core::Operations::SimplePhysicalVaporDeposition;
using Core::Operations::SimplePhysicalVaporDepositionOperation;
namespace Parameters = Engine::Parameters;

PVDOptionsDialog::PVDOptionsDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<PVDOptionsBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindLength(Parameters::kThickness, ui->dbxThickness);
    bindLength(Parameters::kHorizontalToVerticalRatio, ui->dbxHorizontalRatio);
    bind(Parameters::kDepositOnValue, [this] { return QVariant(int(sides())); },
         [this](const QVariant &v) { chooseSides(v.toUInt()); });
    bind(Parameters::kDepositOn, [this] { return QVariant(sidesText()); });
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial,
                 materialsOfProcess(SimplePhysicalVaporDepositionOperation::kPvdProcess));
}

PVDOptionsDialog::~PVDOptionsDialog() = default;

float PVDOptionsDialog::thickness() const
{
    return float(ui->dbxThickness->value());
}

float PVDOptionsDialog::horizontalRatio() const
{
    return float(ui->dbxHorizontalRatio->value());
}

QAbstractButton *PVDOptionsDialog::sideButton(uint32_t sides) const
{
    switch (sides) {
    case SimplePhysicalVaporDeposition::Bottom:
        return ui->rbtDepositOnBottom;
    case SimplePhysicalVaporDeposition::BothSides:
        return ui->rbtDepositOnBothSides;
    case SimplePhysicalVaporDeposition::Top:
        return ui->rbtDepositOnTop;
    default:
        return nullptr;
    }
}

uint32_t PVDOptionsDialog::sides() const
{
    if (ui->rbtDepositOnBottom->isChecked())
        return SimplePhysicalVaporDeposition::Bottom;
    if (ui->rbtDepositOnBothSides->isChecked())
        return SimplePhysicalVaporDeposition::BothSides;
    return SimplePhysicalVaporDeposition::Top;
}

QString PVDOptionsDialog::sidesText() const
{
    return sideButton(sides())->text();
}

void PVDOptionsDialog::chooseSides(uint32_t sides)
{
    // An unknown code from a list leaves the choice as it is.
    if (QAbstractButton *button = sideButton(sides))
        button->setChecked(true);
}

uint32_t PVDOptionsDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void PVDOptionsDialog::applyTo(SimplePhysicalVaporDepositionOperation &operation) const
{
    operation.setThickness(thickness());
    operation.setHorizontalRatio(horizontalRatio());
    operation.setSides(sides());
    operation.setMaterial(materialId());
}

} // namespace Operations
} // namespace Ui
