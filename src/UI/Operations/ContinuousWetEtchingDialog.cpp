#include "ContinuousWetEtchingDialog.h"

#include "Core/Operations/SiWetEtching/ContinousWetEtchOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_ContinuousWetEtchingDialog.h"

namespace Ui {
namespace Operations {

ContinuousWetEtchingDialog::ContinuousWetEtchingDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<ContinuousWetEtchingBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindLength(Engine::Parameters::kDepth, ui->dbxEtchDepth);
}

ContinuousWetEtchingDialog::~ContinuousWetEtchingDialog() = default;

double ContinuousWetEtchingDialog::etchDepth() const
{
    return ui->dbxEtchDepth->value();
}

void ContinuousWetEtchingDialog::applyTo(Core::Operations::ContinousWetEtchOperation &operation) const
{
    operation.setDepth(etchDepth());
}

} // namespace Operations
} // namespace Ui
