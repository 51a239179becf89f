#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class ElectrodepositionOperation;
}
}

namespace Ui {
class ElectroplatingBaseDialog;

namespace Operations {

// "Electroplating Options": the film thickness, the plated material and the conductor it grows
// on, both chosen from the whole catalogue.
class ElectrodepositionDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit ElectrodepositionDialog(QWidget *parent = nullptr);
    ~ElectrodepositionDialog() override;

    float thickness() const;
    uint32_t materialId() const;
    uint32_t conductingMaterialId() const;

    void applyTo(Core::Operations::ElectrodepositionOperation &operation) const;

    ElectroplatingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<ElectroplatingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
