#include "PhotolithographyDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessValueCodec.h"
#include "UI/FileDialogTexts.h"
#include "UI/LastFolders.h"
#include "ui_PhotolithographyDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QVector>

namespace Ui {
namespace Operations {

using Core::Operations::PhotolithographyOperation;
using Model::Masks::ImageMask;
namespace Parameters = Engine::Parameters;

namespace {

const QString kTopFailure = QStringLiteral(
    "Top Mask file not found!<br/>Please verify the filename is correct and you have the correct permissions.");
const QString kBottomFailure = QStringLiteral(
    "Bottom mask not found error!<br/>Please verify if the filename is correct and you have the correct permissions.");

QVariant bitsValue(const QBitArray &bits)
{
    QVector<bool> values(bits.size());
    for (int i = 0; i < bits.size(); ++i)
        values[i] = bits.testBit(i);
    return QVariant::fromValue(values);
}

QBitArray bitsOf(const QVariant &value)
{
    QVector<bool> values;
    Engine::boolVectorFromVariant(value, values);
    QBitArray bits(values.size());
    for (int i = 0; i < values.size(); ++i)
        bits.setBit(i, values[i]);
    return bits;
}

} // namespace

PhotolithographyDialog::PhotolithographyDialog(QWidget *parent)
    : ProcessOptionsDialog(parent),
      ui(std::make_unique<PhotolithographyBaseDialog>()),
      chooseFile([](QWidget *owner, const QString &caption, const QString &directory, const QString &filter) {
          return QFileDialog::getOpenFileName(owner, caption, directory, filter);
      }),
      warn([](QWidget *owner, const QString &text) {
          QMessageBox::warning(owner, QStringLiteral("Photolithography"), text);
      })
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);

    top.file = ui->txtTopMaskFile;
    top.size = ui->lblTopMaskSize;
    top.failureText = kTopFailure;
    bottom.file = ui->txtBottomMaskFile;
    bottom.size = ui->lblBottomMaskSize;
    bottom.failureText = kBottomFailure;

    connect(ui->btnTopMaskChoose, &QPushButton::clicked, this, [this] { browse(top); });
    connect(ui->btnTopMaskApply, &QPushButton::clicked, this, [this] { apply(top); });
    connect(ui->btnTopMaskRemove, &QPushButton::clicked, this, [this] { remove(top); });
    connect(ui->btnBottomMaskChoose, &QPushButton::clicked, this, [this] { browse(bottom); });
    connect(ui->btnBottomMaskApply, &QPushButton::clicked, this, [this] { apply(bottom); });
    connect(ui->btnBottomMaskRemove, &QPushButton::clicked, this, [this] { remove(bottom); });

    bindMaterial(Parameters::kMaterial, ui->cbxMaterial, allMaterials());
    bindMask(top, Parameters::kTopMask, Parameters::kTopMaskWidth, Parameters::kTopMaskHeight,
             Parameters::kTopMaskFile);
    bindMask(bottom, Parameters::kBottomMask, Parameters::kBottomMaskWidth, Parameters::kBottomMaskHeight,
             Parameters::kBottomMaskFile);
}

PhotolithographyDialog::~PhotolithographyDialog() = default;

void PhotolithographyDialog::bindMask(MaskRow &row, const char *bitsName, const char *widthName,
                                      const char *heightName, const char *fileName)
{
    MaskRow *r = &row;
    bind(bitsName, [r] { return bitsValue(r->mask.bits); },
         [r](const QVariant &v) {
             r->mask.bits = bitsOf(v);
             showSize(*r);
         });
    bind(widthName, [r] { return QVariant(r->mask.width); },
         [r](const QVariant &v) {
             r->mask.width = v.toUInt();
             showSize(*r);
         });
    bind(heightName, [r] { return QVariant(r->mask.height); },
         [r](const QVariant &v) {
             r->mask.height = v.toUInt();
             showSize(*r);
         });
    bind(fileName, [r] { return QVariant(r->appliedFile); },
         [r](const QVariant &v) {
             r->appliedFile = v.toString();
             r->file->setText(r->appliedFile);
         });
}

void PhotolithographyDialog::offerChoicesFor(PhotolithographyOperation &operation)
{
    PhotolithographyOperation *target = &operation;
    top.changed = [target](const ImageMask &mask) { target->setTopMask(mask); };
    bottom.changed = [target](const ImageMask &mask) { target->setBottomMask(mask); };
}

void PhotolithographyDialog::applyTo(PhotolithographyOperation &operation) const
{
    operation.setMaterial(materialId());
}

const ImageMask &PhotolithographyDialog::topMask() const
{
    return top.mask;
}

const ImageMask &PhotolithographyDialog::bottomMask() const
{
    return bottom.mask;
}

uint32_t PhotolithographyDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

void PhotolithographyDialog::browse(MaskRow &row)
{
    const QString current = row.file->text();
    const QString start = current.isEmpty() ? lastFolder(FileKind::Masks) : QFileInfo(current).absolutePath();
    const QString chosen = chooseFile(this, FileDialogTexts::maskCaption(), start, FileDialogTexts::imageFilter());
    rememberFolder(FileKind::Masks, chosen);
    if (!chosen.isEmpty())
        row.file->setText(chosen);
}

void PhotolithographyDialog::apply(MaskRow &row)
{
    const QString file = row.file->text();
    ImageMask mask;
    if (!ImageMask::read(file, mask)) {
        warn(this, row.failureText);
        return;
    }
    setMask(row, mask, file);
}

void PhotolithographyDialog::remove(MaskRow &row)
{
    setMask(row, ImageMask(), QString());
}

void PhotolithographyDialog::setMask(MaskRow &row, const ImageMask &mask, const QString &file)
{
    row.mask = mask;
    row.appliedFile = file;
    showSize(row);
    if (row.changed)
        row.changed(mask);
}

void PhotolithographyDialog::showSize(const MaskRow &row)
{
    if (row.mask.isEmpty())
        row.size->setText(QStringLiteral("No mask"));
    else
        row.size->setText(QStringLiteral("%1 \u00d7 %2 pixels").arg(row.mask.width).arg(row.mask.height));
}

} // namespace Operations
} // namespace Ui
