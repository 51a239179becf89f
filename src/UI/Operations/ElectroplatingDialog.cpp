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

namespace {
const char *const kThickness = "Film Thickness";
const char *const kDeposited = "Deposited Material_Id";
const char *const kConducting = "Conducting Material_Id";
} // namespace

QVariantMap ElectroplatingDialog::parameters() const
{
    return {{kThickness, ui->dblThickness->value()},
            {kDeposited, materialId()},
            {kConducting, conductingMaterialId()}};
}

void ElectroplatingDialog::loadParameters(const QVariantMap &values)
{
    if (values.contains(kThickness))
        ui->dblThickness->setValue(values.value(kThickness).toDouble());
    chooseMaterial(ui->cbxMaterial, values.value(kDeposited).toUInt());
    chooseMaterial(ui->cbxConductingMaterial, values.value(kConducting).toUInt());
}

} // namespace Operations
} // namespace Ui
