#include "MaskedCutOptionsDialog.h"

#include "Core/Operations/Cuts/MaskedCutCellVolumeOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "UI/FileDialogTexts.h"
#include "ui_MaskedCutOptionsDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace Ui {
namespace Operations {

using Core::Operations::MaskedCutCellVolumeOperation;
using Model::Masks::ImageMask;

namespace {

const QString kFailure = QStringLiteral(
    "Top Mask file not found!<br/>Please verify the filename is correct and you have the correct permissions.");

} // namespace

MaskedCutOptionsDialog::MaskedCutOptionsDialog(QWidget *parent)
    : QDialog(parent),
      ui(std::make_unique<MaskedCutOptionsBaseDialog>()),
      chooseFile([](QWidget *owner, const QString &caption, const QString &directory, const QString &filter) {
          return QFileDialog::getOpenFileName(owner, caption, directory, filter);
      }),
      warn([](QWidget *owner, const QString &text) { QMessageBox::warning(owner, QStringLiteral("Masked Cut"), text); })
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &MaskedCutOptionsDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->btnMaskChoose, &QPushButton::clicked, this, &MaskedCutOptionsDialog::browse);
    connect(ui->btnMaskApply, &QPushButton::clicked, this, [this] { apply(); });
    connect(ui->btnMaskRemove, &QPushButton::clicked, this, &MaskedCutOptionsDialog::remove);
}

MaskedCutOptionsDialog::~MaskedCutOptionsDialog() = default;

void MaskedCutOptionsDialog::offerChoicesFor(MaskedCutCellVolumeOperation &operation)
{
    if (const auto volume = operation.chosenVolume())
        setVolumeColumns(volume->sizeX(), volume->sizeY());
    MaskedCutCellVolumeOperation *target = &operation;
    changed = [target](const ImageMask &mask) { target->showMask(mask); };
}

void MaskedCutOptionsDialog::applyTo(MaskedCutCellVolumeOperation &operation) const
{
    if (maskGiven)
        operation.setMask(chosen);
}

void MaskedCutOptionsDialog::setVolumeColumns(uint32_t sizeX, uint32_t sizeY)
{
    columnsX = sizeX;
    columnsY = sizeY;
    showSize();
}

void MaskedCutOptionsDialog::accept()
{
    const QString named = ui->txtMaskFile->text();
    if (!named.isEmpty() && named != appliedFile && !apply())
        return;
    QDialog::accept();
}

void MaskedCutOptionsDialog::browse()
{
    const QString current = ui->txtMaskFile->text();
    const QString start = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    const QString file = chooseFile(this, FileDialogTexts::maskCaption(), start, FileDialogTexts::imageFilter());
    if (!file.isEmpty())
        ui->txtMaskFile->setText(file);
}

bool MaskedCutOptionsDialog::apply()
{
    const QString file = ui->txtMaskFile->text();
    ImageMask mask;
    if (!ImageMask::read(file, mask)) {
        warn(this, kFailure);
        return false;
    }
    setMask(mask, file);
    return true;
}

void MaskedCutOptionsDialog::remove()
{
    ui->txtMaskFile->clear();
    setMask(ImageMask(), QString());
}

void MaskedCutOptionsDialog::setMask(const ImageMask &mask, const QString &file)
{
    chosen = mask;
    maskGiven = true;
    appliedFile = file;
    showSize();
    if (changed)
        changed(mask);
}

void MaskedCutOptionsDialog::showSize()
{
    QString text;
    if (chosen.isEmpty())
        text = maskGiven ? QStringLiteral("No mask: every column is cut") : QStringLiteral("No mask");
    else
        text = QStringLiteral("%1 \u00d7 %2 pixels").arg(chosen.width).arg(chosen.height);
    if (!chosen.isEmpty() && columnsX > 0 && (chosen.width != columnsX || chosen.height != columnsY)) {
        text += QStringLiteral(", the volume %1 \u00d7 %2 cells").arg(columnsX).arg(columnsY);
        if (chosen.width < columnsX || chosen.height < columnsY)
            text += QStringLiteral(": columns outside the mask are cut");
        else
            text += QStringLiteral(": pixels outside the volume are ignored");
    }
    ui->lblMaskSize->setText(text);
}

} // namespace Operations
} // namespace Ui
