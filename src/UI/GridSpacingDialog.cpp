#include "GridSpacingDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>

namespace Ui {

GridSpacingDialog::GridSpacingDialog(double spacing, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GridSpacingDialogForm"));
    setWindowTitle(QStringLiteral("Grid Spacing"));

    field = new QDoubleSpinBox(this);
    field->setObjectName(QStringLiteral("dbxGridSpacing"));
    field->setDecimals(kDecimals);
    field->setRange(kMinimumSpacing, kMaximumSpacing);
    field->setValue(spacing);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QFormLayout(this);
    auto *label = new QLabel(QStringLiteral("Spacing"), this);
    label->setObjectName(QStringLiteral("lblGridSpacing"));
    layout->addRow(label, field);
    layout->addRow(buttons);
}

double GridSpacingDialog::spacing() const
{
    return field->value();
}

} // namespace Ui
