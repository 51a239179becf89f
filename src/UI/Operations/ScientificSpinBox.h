#pragma once

#include <QDoubleSpinBox>

namespace Ui {
namespace Operations {

// A double spin box for values that span many orders of magnitude (diffusion coefficients,
// concentrations): it shows six significant digits in scientific form where that is shorter
// ("1e-10", "1e+20"), accepts what the user types in any form, and steps by factors of ten.
class ScientificSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit ScientificSpinBox(QWidget *parent = nullptr);

    QString textFromValue(double value) const override;
    double valueFromText(const QString &text) const override;
    QValidator::State validate(QString &text, int &position) const override;
    void fixup(QString &text) const override;
    void stepBy(int steps) override;
};

} // namespace Operations
} // namespace Ui
