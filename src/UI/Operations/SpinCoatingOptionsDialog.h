#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class SpinCoatingOperation;
}
}

namespace Ui {
class SpinCoatingOptionsBaseDialog;

namespace Operations {

// "Pour Material Options": the height the poured film levels out at, in cells, and the poured
// material, any of the catalogue.
class SpinCoatingOptionsDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit SpinCoatingOptionsDialog(QWidget *parent = nullptr);
    ~SpinCoatingOptionsDialog() override;

    uint32_t height() const;
    uint32_t materialId() const;

    void applyTo(Core::Operations::SpinCoatingOperation &operation) const;

    SpinCoatingOptionsBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<SpinCoatingOptionsBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
