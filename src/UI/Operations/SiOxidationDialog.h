#pragma once

#include "ProcessOptionsDialog.h"

#include <memory>

namespace Core {
namespace Operations {
class SimpleSiOxidationOperation;
}
}

namespace Ui {
class SiOxidationBaseDialog;

namespace Operations {

// "Si Oxidation Options": grow for a time (hours, at a temperature in degrees Celsius and a
// pressure in atm) or to an oxide thickness (microns), with the volume's length units per micron.
// The temperature is shown in Celsius and handed on, and listed in process lists, in kelvin.
class SiOxidationDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    static constexpr double kZeroCelsius = 273.15; // K

    explicit SiOxidationDialog(QWidget *parent = nullptr);
    ~SiOxidationDialog() override;

    bool growsByTime() const;
    bool growsToThickness() const;
    double kelvin() const;

    void applyTo(Core::Operations::SimpleSiOxidationOperation &operation) const;

    SiOxidationBaseDialog *form() const { return ui.get(); }

private:
    // Only the fields of the chosen mode can be edited.
    void enableModeFields();

    std::unique_ptr<SiOxidationBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
