#include "ColorItemDelegate.h"

#include <QApplication>
#include <QColorDialog>
#include <QPainter>

namespace Ui {

namespace {
constexpr int kSwatchMargin = 2; // pixels between the cell border and the swatch
} // namespace

ColorItemDelegate::ColorItemDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void ColorItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::DisplayRole);
    if (!value.canConvert<QColor>()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    QStyle *style = background.widget ? background.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, background.widget); // selection, focus

    QColor swatch = value.value<QColor>();
    swatch.setAlpha(255); // translucency would hide the hue against the cell background
    painter->save();
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setBrush(swatch);
    painter->drawRect(option.rect.adjusted(kSwatchMargin, kSwatchMargin, -kSwatchMargin - 1, -kSwatchMargin - 1));
    painter->restore();
}

QWidget *ColorItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *dialog = new QColorDialog(parent);
    dialog->setOption(QColorDialog::ShowAlphaChannel);
    dialog->setModal(true);
    auto *self = const_cast<ColorItemDelegate *>(this); // the delegate's signals are not const
    connect(dialog, &QDialog::accepted, self, [self, dialog]() {
        emit self->commitData(dialog);
        emit self->closeEditor(dialog);
    });
    connect(dialog, &QDialog::rejected, self, [self, dialog]() {
        emit self->closeEditor(dialog, QAbstractItemDelegate::RevertModelCache);
    });
    return dialog;
}

void ColorItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *dialog = qobject_cast<QColorDialog *>(editor))
        dialog->setCurrentColor(index.data(Qt::EditRole).value<QColor>());
}

void ColorItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *dialog = qobject_cast<QColorDialog *>(editor))
        model->setData(index, dialog->currentColor(), Qt::EditRole);
}

void ColorItemDelegate::updateEditorGeometry(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const {}

bool ColorItemDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (qobject_cast<QColorDialog *>(object))
        return false;
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace Ui
