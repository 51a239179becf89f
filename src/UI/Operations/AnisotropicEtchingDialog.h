#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class AnisotropicFilmEtchingOperation;
}
}

namespace Ui {
class AnisotropicEtchingBaseDialog;

namespace Operations {

// "Anisotropic Etching": the etch depth, the horizontal to vertical ratio of the undercut,
// and the etched material.
class AnisotropicEtchingDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit AnisotropicEtchingDialog(QWidget *parent = nullptr);
    ~AnisotropicEtchingDialog() override;

    float depth() const;
    float horizontalRatio() const;
    uint32_t materialId() const;

    void applyTo(Core::Operations::AnisotropicFilmEtchingOperation &operation) const;

    AnisotropicEtchingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<AnisotropicEtchingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
