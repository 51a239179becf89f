#pragma once

#include "ProcessOptionsDialog.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class IsotropicFilmDepositionOperation;
}
}

namespace Ui {
class IsotropicDepositionBaseDialog;

namespace Operations {

// "Isotropic Film Deposition": the film thickness and the deposited material. It serves the
// "Isotropic Deposition" and "CVD" steps, which differ in the materials their processes allow
// and in the list name of the thickness.
class IsotropicDepositionDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    // Offers the materials of isotropic deposition and lists the thickness as "Film Thickness".
    explicit IsotropicDepositionDialog(QWidget *parent = nullptr);
    ~IsotropicDepositionDialog() override;

    // Offers the materials that the process catalogue allows for `processId`.
    void offerMaterialsOf(uint32_t processId);
    // The list name of the thickness: "Thickness" for CVD steps, "Film Thickness" otherwise.
    void setThicknessParameter(const QString &name);

    float thickness() const;
    uint32_t materialId() const;

    void offerChoicesFor(const Core::Operations::IsotropicFilmDepositionOperation &operation);
    void applyTo(Core::Operations::IsotropicFilmDepositionOperation &operation) const;

    IsotropicDepositionBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<IsotropicDepositionBaseDialog> ui;
    QString thicknessName;
};

} // namespace Operations
} // namespace Ui
