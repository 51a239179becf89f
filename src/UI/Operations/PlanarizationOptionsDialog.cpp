#include "PlanarizationOptionsDialog.h"

#include "Core/Operations/Planarization/PlanarizationOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Model/Automaton/TotalVolume.h"
#include "ui_PlanarizationOptionsDialog.h"

#include <QSpinBox>
#include <algorithm>

namespace Ui {
namespace Operations {

using Core::Operations::PlanarizationOperation;
namespace Parameters = Engine::Parameters;

PlanarizationOptionsDialog::PlanarizationOptionsDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<PlanarizationOptionsBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    ui->sbxMinimumHeight->setMaximum(ui->sbxMaximumHeight->value());
    connect(ui->sbxMaximumHeight, QOverload<int>::of(&QSpinBox::valueChanged), ui->sbxMinimumHeight,
            &QSpinBox::setMaximum);
    // The maximum first: it limits the minimum.
    bindCount(Parameters::kMaximumHeight, ui->sbxMaximumHeight);
    bindCount(Parameters::kMinimumHeight, ui->sbxMinimumHeight);
}

PlanarizationOptionsDialog::~PlanarizationOptionsDialog() = default;

void PlanarizationOptionsDialog::fitToHeight(uint32_t sizeZ)
{
    const int height = int(std::min<uint32_t>(sizeZ, uint32_t(ui->sbxMaximumHeight->maximum())));
    ui->sbxMaximumHeight->setMaximum(height);
    ui->sbxMaximumHeight->setValue(height);
    ui->sbxMinimumHeight->setMaximum(height);
}

uint32_t PlanarizationOptionsDialog::maximumHeight() const
{
    return uint32_t(ui->sbxMaximumHeight->value());
}

uint32_t PlanarizationOptionsDialog::minimumHeight() const
{
    return uint32_t(ui->sbxMinimumHeight->value());
}

void PlanarizationOptionsDialog::offerChoicesFor(const PlanarizationOperation &operation)
{
    if (const auto volume = operation.chosenVolume())
        fitToHeight(volume->sizeZ());
}

void PlanarizationOptionsDialog::applyTo(PlanarizationOperation &operation) const
{
    operation.setMaximumHeight(maximumHeight());
    operation.setMinimumHeight(minimumHeight());
}

} // namespace Operations
} // namespace Ui
