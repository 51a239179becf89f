#include "GlueSubstrateDialog.h"

#include "Core/Operations/GlueSubstrate/GlueLayout.h"
#include "Core/Operations/GlueSubstrate/GlueSubstrateOperation.h"
#include "ui_GlueSubstrateDialog.h"

#include <algorithm>
#include <limits>

namespace Ui {
namespace Operations {

using Core::Operations::GlueLayout;
using Core::Operations::GlueSubstrateOperation;

namespace {

// A cell count as a spin box value; the boxes stop at the largest int.
int boxValue(uint32_t cells)
{
    return int(std::min<uint32_t>(cells, uint32_t(std::numeric_limits<int>::max())));
}

} // namespace

GlueSubstrateDialog::GlueSubstrateDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<GlueSubstrateForm>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
}

GlueSubstrateDialog::~GlueSubstrateDialog() = default;

void GlueSubstrateDialog::setLimits(const GlueLayout &layout)
{
    ui->sbxSizeX->setMinimum(boxValue(layout.defaultSizeX));
    ui->sbxSizeX->setValue(boxValue(layout.defaultSizeX));
    ui->sbxSizeY->setMinimum(boxValue(layout.defaultSizeY));
    ui->sbxSizeY->setValue(boxValue(layout.defaultSizeY));
    const int lowest = boxValue(layout.defaultSizeZ);
    ui->sbxSizeZ->setRange(lowest, std::max(lowest, kLargestFinalHeight));
    ui->sbxSizeZ->setValue(lowest);
    ui->sbxDisplacementX->setRange(0, boxValue(layout.largestDisplacementX()));
    ui->sbxDisplacementX->setValue(0);
    ui->sbxDisplacementY->setRange(0, boxValue(layout.largestDisplacementY()));
    ui->sbxDisplacementY->setValue(0);
}

uint32_t GlueSubstrateDialog::finalSizeX() const
{
    return uint32_t(ui->sbxSizeX->value());
}

uint32_t GlueSubstrateDialog::finalSizeY() const
{
    return uint32_t(ui->sbxSizeY->value());
}

uint32_t GlueSubstrateDialog::finalSizeZ() const
{
    return uint32_t(ui->sbxSizeZ->value());
}

uint32_t GlueSubstrateDialog::displacementX() const
{
    return uint32_t(ui->sbxDisplacementX->value());
}

uint32_t GlueSubstrateDialog::displacementY() const
{
    return uint32_t(ui->sbxDisplacementY->value());
}

bool GlueSubstrateDialog::invert() const
{
    return ui->chkInvert->isChecked();
}

void GlueSubstrateDialog::offerChoicesFor(const GlueSubstrateOperation &operation)
{
    setLimits(operation.layout());
}

void GlueSubstrateDialog::applyTo(GlueSubstrateOperation &operation) const
{
    operation.setFinalSize(finalSizeX(), finalSizeY(), finalSizeZ());
    operation.setDisplacement(displacementX(), displacementY());
    operation.setInvert(invert());
}

} // namespace Operations
} // namespace Ui
