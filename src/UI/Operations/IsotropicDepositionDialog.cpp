#include "IsotropicDepositionDialog.h"

#include "MaterialChooser.h"
#include "ui_IsotropicDepositionDialog.h"

namespace Ui {
namespace Operations {

IsotropicDepositionDialog::IsotropicDepositionDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<IsotropicDepositionBaseDialog>())
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

IsotropicDepositionDialog::~IsotropicDepositionDialog() = default;

float IsotropicDepositionDialog::thickness() const
{
    return float(ui->dblThickness->value());
}

void IsotropicDepositionDialog::setMaterialChoices(const std::vector<Model::Materials::Material> &materials)
{
    fillMaterialChooser(ui->cbxMaterial, materials);
}

uint32_t IsotropicDepositionDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

QVariantMap IsotropicDepositionDialog::parameters() const
{
    return {{thicknessName, ui->dblThickness->value()}, {QStringLiteral("Material_Id"), materialId()}};
}

void IsotropicDepositionDialog::loadParameters(const QVariantMap &values)
{
    if (values.contains(thicknessName))
        ui->dblThickness->setValue(values.value(thicknessName).toDouble());
    chooseMaterial(ui->cbxMaterial, values.value(QStringLiteral("Material_Id")).toUInt());
}

} // namespace Operations
} // namespace Ui
