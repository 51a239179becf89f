#include "ColorsDialog.h"

#include "ui_ColorsDialog.h"

#include <QColorDialog>

namespace Ui {

namespace {

using Kind = Model::ColorTable::Kind;
// The edited kinds, in the order of the dialog's rows.
const Kind kFieldKinds[] = {Model::ColorTable::BackgroundColor, Model::ColorTable::GridColor,
                            Model::ColorTable::ObjectColor, Model::ColorTable::OutlineColor};

QColor toQColor(const Util::Vector4D &c)
{
    return QColor::fromRgbF(c.x, c.y, c.z);
}

} // namespace

ColorsDialog::ColorsDialog(QWidget *parent) : QDialog(parent), ui(std::make_unique<ColorsDialogForm>())
{
    ui->setupUi(this);
    buttons = {ui->btnBackgroundColor, ui->btnGridColor, ui->btnObjectColor, ui->btnOutlineColor};
    for (int i = 0; i < kFieldCount; ++i)
        connect(buttons[size_t(i)], &QPushButton::clicked, this, [this, i] { pickColor(i); });
    connect(ui->btnLoadDefaultColors, &QPushButton::clicked, this,
            [this] { loadSet(Model::ColorTable::kDefaultSet); });
    connect(ui->btnLoadLowColorScheme, &QPushButton::clicked, this,
            [this] { loadSet(Model::ColorTable::kLowColorSet); });
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &ColorsDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &ColorsDialog::reject);
    loadSet(Model::ColorTable::instance().currentSet());
}

ColorsDialog::~ColorsDialog() = default;

int ColorsDialog::fieldIndex(Kind kind)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (kFieldKinds[i] == kind)
            return i;
    return -1;
}

void ColorsDialog::loadSet(int set)
{
    const auto &table = Model::ColorTable::instance();
    chosen = set;
    for (int i = 0; i < kFieldCount; ++i) {
        fields[size_t(i)] = table.color(kFieldKinds[i], set);
        showField(i);
    }
}

Util::Vector4D ColorsDialog::fieldColor(Kind kind) const
{
    const int i = fieldIndex(kind);
    return i < 0 ? Util::Vector4D() : fields[size_t(i)];
}

void ColorsDialog::setFieldColor(Kind kind, const Util::Vector4D &color)
{
    const int i = fieldIndex(kind);
    if (i < 0)
        return;
    fields[size_t(i)] = color;
    chosen = Model::ColorTable::kCustomSet;
    showField(i);
}

void ColorsDialog::showField(int field)
{
    QPushButton *button = buttons[size_t(field)];
    const QColor color = toQColor(fields[size_t(field)]);
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(color.name()));
    button->setToolTip(color.name());
}

void ColorsDialog::pickColor(int field)
{
    const Kind kind = kFieldKinds[field];
    const QColor picked =
        QColorDialog::getColor(toQColor(fields[size_t(field)]), this, Model::ColorTable::name(kind));
    if (!picked.isValid())
        return;
    // The colour's alpha stays as the scheme has it (the background is cleared with alpha 0).
    const Util::Vector4D old = fields[size_t(field)];
    setFieldColor(kind, Util::Vector4D(picked.redF(), picked.greenF(), picked.blueF(), old.w));
}

void ColorsDialog::applyToTable() const
{
    auto &table = Model::ColorTable::instance();
    table.setCurrentSet(chosen);
    for (int i = 0; i < kFieldCount; ++i)
        table.setColor(kFieldKinds[i], Model::ColorTable::kCustomSet, fields[size_t(i)]);
}

} // namespace Ui
