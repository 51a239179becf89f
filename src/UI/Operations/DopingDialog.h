#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class DopingOperation;
}
}

namespace Ui {
class DopingBaseDialog;

namespace Operations {

// "Doping Options": the doping depth and the material the doped cells become, one of those the
// doping process allows.
class DopingDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit DopingDialog(QWidget *parent = nullptr);
    ~DopingDialog() override;

    float dopingDepth() const;
    uint32_t dopedMaterialId() const;

    void applyTo(Core::Operations::DopingOperation &operation) const;

    DopingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<DopingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
