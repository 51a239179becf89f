#pragma once

#include <QStyledItemDelegate>

namespace Ui {

// Delegate of the colour column of the materials table. Paints each cell as a swatch of its
// colour; its editor is a QColorDialog opened on the cell's colour, whose chosen colour goes back
// to the model when the dialog is accepted (and nothing changes when it is cancelled).
class ColorItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ColorItemDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    // The dialog keeps its own size and place rather than the cell's rectangle.
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    // The dialog's own accept and reject end the edit; focus changes do not.
    bool eventFilter(QObject *object, QEvent *event) override;
};

} // namespace Ui
