#pragma once

#include "Model/Materials/Material.h"

#include <QDialog>
#include <cstdint>
#include <memory>
#include <vector>

namespace Ui {
class IsotropicDepositionBaseDialog;

namespace Operations {

// "Isotropic Film Deposition": the film thickness and the deposited material.
class IsotropicDepositionDialog : public QDialog {
    Q_OBJECT
public:
    explicit IsotropicDepositionDialog(QWidget *parent = nullptr);
    ~IsotropicDepositionDialog() override;

    void setMaterialChoices(const std::vector<Model::Materials::Material> &materials);

    float thickness() const;
    uint32_t materialId() const;

    IsotropicDepositionBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<IsotropicDepositionBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
