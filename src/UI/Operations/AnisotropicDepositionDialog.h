#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class AnisotropicFilmDepositionOperation;
}
}

namespace Ui {
class AnisotropicDepositionBaseDialog;

namespace Operations {

// "Anisotropic Deposition": the film thickness on horizontal surfaces, the horizontal to
// vertical ratio that thins it on side walls, and the deposited material.
class AnisotropicDepositionDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit AnisotropicDepositionDialog(QWidget *parent = nullptr);
    ~AnisotropicDepositionDialog() override;

    float thickness() const;
    float horizontalRatio() const;
    uint32_t materialId() const;

    void applyTo(Core::Operations::AnisotropicFilmDepositionOperation &operation) const;

    AnisotropicDepositionBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<AnisotropicDepositionBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
