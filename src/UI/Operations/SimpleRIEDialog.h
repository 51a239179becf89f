#pragma once

#include "ProcessOptionsDialog.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class SimpleReactiveIonEtchingOperation;
}
}

namespace Ui {
class SimpleRIEBaseDialog;

namespace Operations {

// "Simple RIE": the etch depth in cells, the etched material (any of the catalogue) and the
// directions the ions come from.
class SimpleRIEDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit SimpleRIEDialog(QWidget *parent = nullptr);
    ~SimpleRIEDialog() override;

    uint32_t depth() const;
    uint32_t materialId() const;
    // SimpleReactiveIonEtching::kFromTop and kFromBelow, as the check boxes say.
    uint8_t directions() const;
    // How the batch list shows the directions.
    static QString directionsText(uint8_t directions);

    // Replaces the operation's direction bits by the check boxes' and sets the depth and material.
    void applyTo(Core::Operations::SimpleReactiveIonEtchingOperation &operation) const;

    SimpleRIEBaseDialog *form() const { return ui.get(); }

private:
    void chooseDirections(uint8_t directions);

    std::unique_ptr<SimpleRIEBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
