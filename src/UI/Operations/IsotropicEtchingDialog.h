#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class IsotropicFilmEtchingOperation;
}
}

namespace Ui {
class IsotropicEtchingBaseDialog;

namespace Operations {

// "Isotropic Film Etching": the etch depth and the etched material, one of those the etching
// process allows.
class IsotropicEtchingDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit IsotropicEtchingDialog(QWidget *parent = nullptr);
    ~IsotropicEtchingDialog() override;

    float depth() const;
    uint32_t materialId() const;

    void applyTo(Core::Operations::IsotropicFilmEtchingOperation &operation) const;

    IsotropicEtchingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<IsotropicEtchingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
