#pragma once

#include "Model/Materials/Material.h"

#include <QDialog>
#include <QVariantMap>
#include <cstdint>
#include <memory>
#include <vector>

namespace Ui {
class ElectroplatingBaseDialog;

namespace Operations {

// "Electroplating Options": the film thickness, the plated material and the conductor it grows on.
class ElectroplatingDialog : public QDialog {
    Q_OBJECT
public:
    explicit ElectroplatingDialog(QWidget *parent = nullptr);
    ~ElectroplatingDialog() override;

    void setMaterialChoices(const std::vector<Model::Materials::Material> &materials);
    void setConductingMaterialChoices(const std::vector<Model::Materials::Material> &materials);

    float thickness() const;
    uint32_t materialId() const;
    uint32_t conductingMaterialId() const;

    // The values under the parameter names of process lists, and back.
    QVariantMap parameters() const;
    void loadParameters(const QVariantMap &parameters);

    ElectroplatingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<ElectroplatingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
