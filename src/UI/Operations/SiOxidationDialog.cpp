#include "SiOxidationDialog.h"

#include "Core/Operations/SiOxidation/SimpleSiOxidationOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_SiOxidationDialog.h"

#include <QRadioButton>

namespace Ui {
namespace Operations {

using Core::Operations::SimpleSiOxidationOperation;
namespace Parameters = Engine::Parameters;

SiOxidationDialog::SiOxidationDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<SiOxidationBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    connect(ui->rbtGrowByTime, &QRadioButton::toggled, this, &SiOxidationDialog::enableModeFields);
    connect(ui->rbtGrowToThickness, &QRadioButton::toggled, this, &SiOxidationDialog::enableModeFields);
    enableModeFields();

    bindLength(Parameters::kMicronConversion, ui->dbxMicronConversion);
    bindLength(Parameters::kOxidationTime, ui->dbxTime);
    bind(Parameters::kOxidationTemperature, [this] { return QVariant(kelvin()); },
         [this](const QVariant &v) { ui->dbxTemperature->setValue(v.toDouble() - kZeroCelsius); });
    bindLength(Parameters::kOxidationPressure, ui->dbxPressure);
    bindLength(Parameters::kOxidationThickness, ui->dbxThickness);
    bindFlag(Parameters::kOxidationTimeSet, ui->rbtGrowByTime);
    bindFlag(Parameters::kOxidationThicknessSet, ui->rbtGrowToThickness);
}

SiOxidationDialog::~SiOxidationDialog() = default;

bool SiOxidationDialog::growsByTime() const
{
    return ui->rbtGrowByTime->isChecked();
}

bool SiOxidationDialog::growsToThickness() const
{
    return ui->rbtGrowToThickness->isChecked();
}

double SiOxidationDialog::kelvin() const
{
    return ui->dbxTemperature->value() + kZeroCelsius;
}

void SiOxidationDialog::enableModeFields()
{
    const bool byTime = growsByTime();
    ui->dbxTime->setEnabled(byTime);
    ui->dbxTemperature->setEnabled(byTime);
    ui->dbxPressure->setEnabled(byTime);
    ui->dbxThickness->setEnabled(growsToThickness());
}

void SiOxidationDialog::applyTo(SimpleSiOxidationOperation &operation) const
{
    operation.setMicronConversion(ui->dbxMicronConversion->value());
    operation.setOxidationTime(ui->dbxTime->value());
    operation.setOxidationTemperature(kelvin());
    operation.setOxidationPressure(ui->dbxPressure->value());
    operation.setOxidationThickness(ui->dbxThickness->value());
    operation.setOxidationTimeSet(growsByTime());
    operation.setOxidationThicknessSet(growsToThickness());
}

} // namespace Operations
} // namespace Ui
