#include "ScientificSpinBox.h"

#include <QLocale>
#include <QRegularExpression>
#include <cfloat>
#include <cmath>

namespace Ui {
namespace Operations {

namespace {

constexpr int kSignificantDigits = 6;
constexpr double kStepFactor = 10.0;

} // namespace

ScientificSpinBox::ScientificSpinBox(QWidget *parent) : QDoubleSpinBox(parent)
{
    // The box rounds its value to this many decimals: enough for the smallest doubles.
    setDecimals(DBL_MAX_10_EXP + DBL_DIG);
}

QString ScientificSpinBox::textFromValue(double value) const
{
    return QLocale::c().toString(value, 'g', kSignificantDigits);
}

double ScientificSpinBox::valueFromText(const QString &text) const
{
    return QLocale::c().toDouble(text.trimmed());
}

QValidator::State ScientificSpinBox::validate(QString &text, int &) const
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (ok)
        return value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    // A number on its way: "", "-", "1.", "1e", "1e-".
    static const QRegularExpression partial(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d*)?([eE][+-]?\\d*)?$"));
    return partial.match(trimmed).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

void ScientificSpinBox::fixup(QString &text) const
{
    text = textFromValue(value());
}

void ScientificSpinBox::stepBy(int steps)
{
    const double current = value();
    if (current > 0.0)
        setValue(current * std::pow(kStepFactor, steps));
    else
        QDoubleSpinBox::stepBy(steps);
}

} // namespace Operations
} // namespace Ui
