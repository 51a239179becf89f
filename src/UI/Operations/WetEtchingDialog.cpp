#include "WetEtchingDialog.h"

#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "ui_WetEtchingDialog.h"

namespace Ui {
namespace Operations {

namespace Parameters = Engine::Parameters;

WetEtchingDialog::WetEtchingDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<WetEtchingBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    bindLength(Parameters::kDepth, ui->dblDepth);
}

WetEtchingDialog::~WetEtchingDialog() = default;

double WetEtchingDialog::depth() const
{
    return ui->dblDepth->value();
}

void WetEtchingDialog::applyTo(Core::Operations::AtomisticSiWetEtchingOperation &operation) const
{
    operation.setDepth(depth());
}

} // namespace Operations
} // namespace Ui
