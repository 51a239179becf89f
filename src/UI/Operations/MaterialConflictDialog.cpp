#include "MaterialConflictDialog.h"

#include "ui_MaterialConflictDialog.h"

#include <QButtonGroup>
#include <QPixmap>

namespace Ui {
namespace Operations {

namespace {

constexpr int kSwatchSize = 20;     // pixels, beside each material's name
constexpr int kListIconSize = 100;  // pixels, in the replacement list
constexpr float kChannelMax = 255.0f;

// The colour as its "#AARRGGBB" text gives it: each channel the component · 255 truncated.
QColor colorOf(const Model::Materials::Material &material)
{
    const auto &c = material.color();
    QColor color;
    color.setNamedColor(QStringLiteral("#%1%2%3%4")
                            .arg(int(c[3] * kChannelMax), 2, 16, QLatin1Char('0'))
                            .arg(int(c[0] * kChannelMax), 2, 16, QLatin1Char('0'))
                            .arg(int(c[1] * kChannelMax), 2, 16, QLatin1Char('0'))
                            .arg(int(c[2] * kChannelMax), 2, 16, QLatin1Char('0'))
                            .toUpper());
    return color;
}

QPixmap swatch(const Model::Materials::Material &material, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(colorOf(material));
    return pixmap;
}

} // namespace

MaterialConflictDialog::MaterialConflictDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<MaterialConflictBaseDialog>())
{
    ui->setupUi(this);
    // The four answers exclude each other although they do not share a parent layout.
    auto *answers = new QButtonGroup(this);
    for (QRadioButton *button : {ui->rbtnUseExisting, ui->rbtnReplaceExisting, ui->rbtnUseAnother, ui->rbtnAddAsNew})
        answers->addButton(button);
}

MaterialConflictDialog::~MaterialConflictDialog() = default;

void MaterialConflictDialog::setMaterials(const Model::Materials::Material &existing,
                                          const Model::Materials::Material &loaded,
                                          const std::vector<Model::Materials::Material> &catalogue)
{
    ui->lblLoadedMaterialName->setText(loaded.name());
    ui->lblExistingMaterialName->setText(existing.name());
    ui->lblLoadedMaterialColor->setPixmap(swatch(loaded, kSwatchSize));
    ui->lblExistingMaterialColor->setPixmap(swatch(existing, kSwatchSize));
    ui->cbxReplacementMaterial->clear();
    for (const auto &material : catalogue)
        ui->cbxReplacementMaterial->addItem(QIcon(swatch(material, kListIconSize)), material.name(),
                                            material.materialId());
}

bool MaterialConflictDialog::hasChoice() const
{
    return ui->rbtnUseExisting->isChecked() || ui->rbtnReplaceExisting->isChecked() ||
           ui->rbtnUseAnother->isChecked() || ui->rbtnAddAsNew->isChecked();
}

Model::Persistence::MaterialConflict::Choice MaterialConflictDialog::choice() const
{
    using Choice = Model::Persistence::MaterialConflict::Choice;
    if (ui->rbtnReplaceExisting->isChecked())
        return Choice::ReplaceExisting;
    if (ui->rbtnUseAnother->isChecked())
        return Choice::UseAnother;
    if (ui->rbtnAddAsNew->isChecked())
        return Choice::AddAsNew;
    return Choice::UseExisting;
}

uint32_t MaterialConflictDialog::replacementId() const
{
    return ui->cbxReplacementMaterial->currentData().toUInt();
}

} // namespace Operations
} // namespace Ui
