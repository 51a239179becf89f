#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class IonImplantationOperation;
}
}

namespace Ui {
class IonImplantationBaseDialog;

namespace Operations {

// "Ion Implantation Options": where the implanted band lies (depth and vertical spread), how far
// annealing spreads it, and the material the doped cells become.
class IonImplantationDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit IonImplantationDialog(QWidget *parent = nullptr);
    ~IonImplantationDialog() override;

    float implantationDepth() const;
    float verticalSpread() const;
    float annealingDistance() const;
    uint32_t dopedMaterialId() const;

    void applyTo(Core::Operations::IonImplantationOperation &operation) const;

    IonImplantationBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<IonImplantationBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
