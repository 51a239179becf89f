#pragma once

#include "Model/Materials/Material.h"

#include <QDialog>
#include <QVariantMap>
#include <cstdint>
#include <memory>
#include <vector>

namespace Ui {
class IsotropicEtchingBaseDialog;

namespace Operations {

// "Isotropic Film Etching": the etch depth and the etched material.
class IsotropicEtchingDialog : public QDialog {
    Q_OBJECT
public:
    explicit IsotropicEtchingDialog(QWidget *parent = nullptr);
    ~IsotropicEtchingDialog() override;

    void setMaterialChoices(const std::vector<Model::Materials::Material> &materials);

    float depth() const;
    uint32_t materialId() const;

    // The values under the parameter names of process lists, and back.
    QVariantMap parameters() const;
    void loadParameters(const QVariantMap &parameters);

    IsotropicEtchingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<IsotropicEtchingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
