#pragma once

#include <QDialog>

class QDoubleSpinBox;

namespace Ui {

// "Grid Spacing": one field, the distance between grid lines in view units, from 0.1 to 1000
// with two decimals. The grid covers -300..300 in x and y, so the finest spacing draws
// 6001 lines each way, which is still quick; clicks snap to the same spacing.
class GridSpacingDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr double kMinimumSpacing = 0.1;
    static constexpr double kMaximumSpacing = 1000.0;
    static constexpr int kDecimals = 2;

    explicit GridSpacingDialog(double spacing, QWidget *parent = nullptr);

    double spacing() const;
    QDoubleSpinBox *spacingField() const { return field; }

private:
    QDoubleSpinBox *field;
};

} // namespace Ui
