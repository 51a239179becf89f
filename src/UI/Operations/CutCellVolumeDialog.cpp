#include "CutCellVolumeDialog.h"

#include "Core/Operations/Cuts/CutCellVolumeOperation.h"
#include "ui_CutCellVolumeDialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace Ui {
namespace Operations {

using Core::Operations::CutBox;
using Core::Operations::CutCellVolumeOperation;

namespace {

// Counts one change while it lasts, so that the coupled changes it sets off count as one.
class ChangeScope {
public:
    explicit ChangeScope(int &depth) : depth(depth) { ++depth; }
    ~ChangeScope() { --depth; }
    ChangeScope(const ChangeScope &) = delete;
    ChangeScope &operator=(const ChangeScope &) = delete;

private:
    int &depth;
};

} // namespace

CutCellVolumeDialog::CutCellVolumeDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<CutCellVolumeBaseDialog>())
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    axes[0] = {ui->sbxLowerX, ui->sbxUpperX, ui->sldLowerX, ui->sldUpperX};
    axes[1] = {ui->sbxLowerY, ui->sbxUpperY, ui->sldLowerY, ui->sldUpperY};
    axes[2] = {ui->sbxLowerZ, ui->sbxUpperZ, ui->sldLowerZ, ui->sldUpperZ};
    for (Axis &axis : axes)
        coupleAxis(axis);
    setVolume(sizes, Core::Operations::wholeBox(sizes));

    connect(ui->btnReset, &QPushButton::clicked, this, &CutCellVolumeDialog::reset);
    connect(ui->chkPreview, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            changed();
    });
}

CutCellVolumeDialog::~CutCellVolumeDialog() = default;

void CutCellVolumeDialog::coupleAxis(Axis &axis)
{
    Axis *a = &axis;
    connect(axis.lower, QOverload<int>::of(&QSpinBox::valueChanged), this, [this, a](int v) { lowerChanged(*a, v); });
    connect(axis.upper, QOverload<int>::of(&QSpinBox::valueChanged), this, [this, a](int v) { upperChanged(*a, v); });
    connect(axis.lowerSlider, &QSlider::valueChanged, axis.lower, &QSpinBox::setValue);
    connect(axis.upperSlider, &QSlider::valueChanged, axis.upper, &QSpinBox::setValue);
}

void CutCellVolumeDialog::lowerChanged(Axis &axis, int value)
{
    const ChangeScope scope(changing);
    axis.lowerSlider->setValue(value);
    if (value >= axis.upper->value())
        axis.upper->setValue(value + 1);
    changed();
}

void CutCellVolumeDialog::upperChanged(Axis &axis, int value)
{
    const ChangeScope scope(changing);
    axis.upperSlider->setValue(value);
    if (value <= axis.lower->value())
        axis.lower->setValue(value - 1);
    changed();
}

void CutCellVolumeDialog::setVolume(const std::array<uint32_t, 3> &volumeSizes, const CutBox &shown)
{
    const ChangeScope scope(changing);
    sizes = volumeSizes;
    const CutBox box = Core::Operations::fitCutBox(shown, sizes);
    for (size_t i = 0; i < axes.size(); ++i) {
        const int size = int(sizes[i] > 0 ? sizes[i] : 1);
        Axis &axis = axes[i];
        // The ranges change before the values, which must fit both the old and the new ranges.
        for (QSpinBox *b : {axis.lower, axis.upper}) {
            const QSignalBlocker block(b);
            b->setValue(b == axis.lower ? 0 : 1);
        }
        axis.lower->setRange(0, size - 1);
        axis.lowerSlider->setRange(0, size - 1);
        axis.upper->setRange(1, size);
        axis.upperSlider->setRange(1, size);
        axis.upper->setValue(int(box.upper[i]));
        axis.lower->setValue(int(box.lower[i]));
        axis.upperSlider->setValue(int(box.upper[i]));
        axis.lowerSlider->setValue(int(box.lower[i]));
    }
}

void CutCellVolumeDialog::offerChoicesFor(CutCellVolumeOperation &operation)
{
    setVolume(operation.volumeSizes(), operation.shownBox());
    CutCellVolumeOperation *target = &operation;
    showPreview = [target](const CutBox &box) { target->previewCutPlanes(box); };
}

void CutCellVolumeDialog::applyTo(CutCellVolumeOperation &operation) const
{
    operation.setCutPlanes(box(), true);
}

CutBox CutCellVolumeDialog::box() const
{
    CutBox box;
    for (size_t i = 0; i < axes.size(); ++i) {
        box.lower[i] = uint32_t(axes[i].lower->value());
        box.upper[i] = uint32_t(axes[i].upper->value());
    }
    return box;
}

void CutCellVolumeDialog::reset()
{
    const ChangeScope scope(changing);
    for (size_t i = 0; i < axes.size(); ++i) {
        axes[i].lower->setValue(0);
        axes[i].upper->setValue(int(sizes[i]));
    }
    changed();
}

void CutCellVolumeDialog::changed()
{
    if (changing > 1 || !ui->chkPreview->isChecked() || !showPreview)
        return;
    showPreview(box());
}

} // namespace Operations
} // namespace Ui
