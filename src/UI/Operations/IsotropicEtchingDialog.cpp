#include "IsotropicEtchingDialog.h"

#include "MaterialChooser.h"
#include "ui_IsotropicEtchingDialog.h"

namespace Ui {
namespace Operations {

IsotropicEtchingDialog::IsotropicEtchingDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<IsotropicEtchingBaseDialog>())
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

IsotropicEtchingDialog::~IsotropicEtchingDialog() = default;

float IsotropicEtchingDialog::depth() const
{
    return float(ui->dblDepth->value());
}

void IsotropicEtchingDialog::setMaterialChoices(const std::vector<Model::Materials::Material> &materials)
{
    fillMaterialChooser(ui->cbxMaterial, materials);
}

uint32_t IsotropicEtchingDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

QVariantMap IsotropicEtchingDialog::parameters() const
{
    return {{QStringLiteral("Depth"), ui->dblDepth->value()}, {QStringLiteral("Material_Id"), materialId()}};
}

void IsotropicEtchingDialog::loadParameters(const QVariantMap &values)
{
    if (values.contains(QStringLiteral("Depth")))
        ui->dblDepth->setValue(values.value(QStringLiteral("Depth")).toDouble());
    chooseMaterial(ui->cbxMaterial, values.value(QStringLiteral("Material_Id")).toUInt());
}

} // namespace Operations
} // namespace Ui
