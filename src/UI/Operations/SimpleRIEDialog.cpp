#include "SimpleRIEDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_SimpleRIEDialog.h"

namespace Ui {
namespace Operations {

using Core::Operations::SimpleReactiveIonEtching;
using Core::Operations::SimpleReactiveIonEtchingOperation;
namespace Parameters = Engine::Parameters;

SimpleRIEDialog::SimpleRIEDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<SimpleRIEBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindCount(Parameters::kEtchDepth, ui->sbxEtchDepth);
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial, allMaterials());
    bind(Parameters::kEtchDirectionValue, [this] { return QVariant(int(directions())); },
         [this](const QVariant &v) { chooseDirections(uint8_t(v.toUInt())); });
    bind(Parameters::kEtchDirection, [this] { return QVariant(directionsText(directions())); });
}

SimpleRIEDialog::~SimpleRIEDialog() = default;

uint32_t SimpleRIEDialog::depth() const
{
    return uint32_t(ui->sbxEtchDepth->value());
}

uint32_t SimpleRIEDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

uint8_t SimpleRIEDialog::directions() const
{
    uint8_t bits = 0;
    if (ui->chkEtchFromTop->isChecked())
        bits |= SimpleReactiveIonEtching::kFromTop;
    if (ui->chkEtchFromBelow->isChecked())
        bits |= SimpleReactiveIonEtching::kFromBelow;
    return bits;
}

QString SimpleRIEDialog::directionsText(uint8_t directions)
{
    const bool top = directions & SimpleReactiveIonEtching::kFromTop;
    const bool below = directions & SimpleReactiveIonEtching::kFromBelow;
    if (top && below)
        return QStringLiteral("From top and from below");
    if (top)
        return QStringLiteral("From top");
    if (below)
        return QStringLiteral("From below");
    return QStringLiteral("None");
}

void SimpleRIEDialog::chooseDirections(uint8_t directions)
{
    ui->chkEtchFromTop->setChecked(directions & SimpleReactiveIonEtching::kFromTop);
    ui->chkEtchFromBelow->setChecked(directions & SimpleReactiveIonEtching::kFromBelow);
}

void SimpleRIEDialog::applyTo(SimpleReactiveIonEtchingOperation &operation) const
{
    operation.setDepth(float(depth()));
    operation.setMaterial(materialId());
    operation.setDirections(directions());
}

} // namespace Operations
} // namespace Ui
