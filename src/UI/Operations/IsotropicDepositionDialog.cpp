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

} // namespace Operations
} // namespace Ui
