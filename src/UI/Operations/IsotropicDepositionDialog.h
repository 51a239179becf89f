#pragma once

#include "Model/Materials/Material.h"

#include <QDialog>
#include <QString>
#include <QVariantMap>
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

    // The dialog serves two processes whose lists name the thickness differently: "Thickness"
    // for CVD steps, "Film Thickness" (the default) for isotropic deposition steps.
    void setThicknessParameter(const QString &name) { thicknessName = name; }
    // The values under the parameter names of process lists, and back.
    QVariantMap parameters() const;
    void loadParameters(const QVariantMap &parameters);

    IsotropicDepositionBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<IsotropicDepositionBaseDialog> ui;
    QString thicknessName = QStringLiteral("Film Thickness");
};

} // namespace Operations
} // namespace Ui
