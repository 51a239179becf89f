#pragma once

#include "ProcessOptionsDialog.h"

#include <QString>
#include <cstdint>
#include <memory>

class QAbstractButton;

namespace Core {
namespace Operations {
class SimplePhysicalVaporDepositionOperation;
}
}

namespace Ui {
class PVDOptionsBaseDialog;

namespace Operations {

// "PVD": the film thickness, the horizontal to vertical ratio, which solid faces the vapour
// reaches (top, both sides or bottom) and the deposited material.
class PVDOptionsDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit PVDOptionsDialog(QWidget *parent = nullptr);
    ~PVDOptionsDialog() override;

    float thickness() const;
    float horizontalRatio() const;
    // SimplePhysicalVaporDeposition::Top, Bottom or BothSides.
    uint32_t sides() const;
    // The checked choice's text, as the batch list shows it.
    QString sidesText() const;
    uint32_t materialId() const;

    void applyTo(Core::Operations::SimplePhysicalVaporDepositionOperation &operation) const;

    PVDOptionsBaseDialog *form() const { return ui.get(); }

private:
    QAbstractButton *sideButton(uint32_t sides) const;
    void chooseSides(uint32_t sides);

    std::unique_ptr<PVDOptionsBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
