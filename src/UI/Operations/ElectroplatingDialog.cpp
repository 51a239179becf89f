#include "ElectroplatingDialog.h"

#include "MaterialChooser.h"
#include "ui_ElectroplatingDialog.h"

namespace Ui {
namespace Operations {

ElectroplatingDialog::ElectroplatingDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<ElectroplatingBaseDialog>())
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ElectroplatingDialog::~ElectroplatingDialog() = default;

float ElectroplatingDialog::thickness() const
{
    return float(ui->dblThickness->value());
}

void ElectroplatingDialog::setMaterialChoices(const std::vector<Model::Materials::Material> &materials)
{
    fillMaterialChooser(ui->cbxMaterial, materials);
}

uint32_t ElectroplatingDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void ElectroplatingDialog::setConductingMaterialChoices(const std::vector<Model::Materials::Material> &materials)
{
    fillMaterialChooser(ui->cbxConductingMaterial, materials);
}

uint32_t ElectroplatingDialog::conductingMaterialId() const
{
    return chosenMaterialId(ui->cbxConductingMaterial);
}

} // namespace Operations
} // namespace Ui
